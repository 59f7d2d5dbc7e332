#include "AnswerWriter.h"

namespace pdmsim {

void AnswerWriter::ApplyToRoot(ExchangeFile& answer, const std::optional<Fault>& fault) {
  if (!fault) return;
  ExchangeObject& root = answer.FindOrAdd("ROOT", true);
  if (fault->code) root.Set("ACTION_SUCCESS", *fault->code);
  for (const std::string& line : fault->stats) root.Append("STATS", line);
}

std::string AnswerWriter::Truncate(const std::string& bytes) {
  if (bytes.size() < 2) return std::string();
  std::size_t cut = bytes.size() / 2;
  // Never cut right after a line end: a truncated answer ends mid-line.
  while (cut > 1 && (bytes[cut - 1] == '\n' || bytes[cut] == '\n')) --cut;
  return bytes.substr(0, cut);
}

std::string AnswerWriter::SourceOf(const std::optional<Fault>& fault) {
  if (!fault) return "built";
  if (fault->noRewrite) return "none";
  if (fault->garbage) return "garbage";
  const std::string cut = fault->truncate ? ", truncated" : "";
  if (!fault->answerFile.empty()) return "injected " + fault->answerFile + cut;
  return "built" + cut;
}

std::string AnswerWriter::GarbageBytes() {
  static const char kBytes[] = "PDM session aborted\n\x01\x02\xff\xfe {ROOT} not an answer\n@\n";
  return std::string(kBytes, sizeof kBytes - 1);
}

bool AnswerWriter::Write(const ExchangeFile& answer, const std::string& path, const std::optional<Fault>& fault,
                         const std::string& exchangeMap, std::string& note, std::string* error) {
  if (fault && fault->noRewrite) {
    note = "request left as it was (fault)";
    return true;
  }
  if (fault && fault->garbage) {
    note = "request overwritten with garbage (fault)";
    return WriteFileAtomic(path, GarbageBytes(), error, false);
  }
  std::string bytes;
  if (fault && !fault->answerFile.empty()) {
    // Answers no PDM would give (cycles, dangling keys, hostile paths) for
    // testing the CAD side's reader.
    if (!ReadWholeFile(fault->answerFile, bytes, error)) return false;
    for (std::size_t at = bytes.find("@EXMAP@"); at != std::string::npos; at = bytes.find("@EXMAP@", at)) {
      bytes.replace(at, 7, exchangeMap);
      at += exchangeMap.size();
    }
    note = "canned answer " + fault->answerFile + " written (fault)";
    if (fault->truncate) bytes = Truncate(bytes);
    return WriteFileAtomic(path, bytes, error, false);
  }
  if (!answer.Serialize(bytes, error)) return false;
  if (fault && fault->truncate) {
    note = "answer written truncated (fault)";
    return WriteFileAtomic(path, Truncate(bytes), error, false);
  }
  note = "answered";
  return WriteFileAtomic(path, bytes, error, false);
}

}  // namespace pdmsim
