// zrbtool check FILE: where and why the module's reading of an exchange
// object file would leave content out.
#include <fstream>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <memory>

#include "ZRBObjectLineSyntax.h"
#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"
#include "ZRBObjectSlotText.h"
#include "ZRBToolCommand.h"
#include "ZRBToolText.h"

namespace {
struct Finding {
  long line;
  bool error;  // content would be ignored
  std::string text;
};

// Turns the reader's account of each line into findings.
class CheckObserver : public ZRBObjectReadObserver {
 public:
  void OnObject(long line, std::string_view key) override {
    ++objects;
    slotLines_.clear();
    std::string k(key);
    while (!k.empty() && k.back() == '\r') k.pop_back();
    auto [first, fresh] = keyLines_.emplace(k, line);
    if (!fresh)
      Add(line, false,
          "object key " + ZRBToolText::Quote(k) + " repeats (first in line " + std::to_string(first->second) +
              "); lookups by key find only the first");
    if (!ZRBToolText::IsValidUtf8(k)) Add(line, false, "object key is not UTF-8 (is the writer using Latin-1?)");
  }

  void OnSlot(long line, std::string_view name, std::string_view rawValue, ZRBSlotStore result) override {
    const std::string upper = ZRBObjectSlotText::UpperName(name);
    if (result == ZRBSlotStore::Refused) {
      Add(line, true,
          "slot name " + ZRBToolText::Quote(name) +
              " cannot be stored (no \"{\", \"}\", CR or LF allowed); "
              "the slot is ignored");
      return;
    }
    ++slots;
    auto [first, fresh] = slotLines_.emplace(upper, line);
    if (!fresh)
      Add(line, true,
          "slot " + upper + " repeats (first in line " + std::to_string(first->second) +
              "); the earlier value is ignored");
    if (result == ZRBSlotStore::Truncated)
      Add(line, true,
          "value of slot " + upper + " is cut to " + std::to_string(ZRBObjectSlotText::kMaxValueBytes) +
              " bytes (the line holds " + std::to_string(rawValue.size()) + " bytes after \"}\")");
    if (!ZRBToolText::IsValidUtf8(rawValue))
      Add(line, false, "value of slot " + upper + " is not UTF-8 (is the writer using Latin-1?)");
  }

  void OnStop(long line, std::string_view text) override {
    stopLine = line;
    stopText = std::string(text);
  }

  void Add(long line, bool error, std::string text) { findings.push_back({line, error, std::move(text)}); }

  int objects = 0;
  int slots = 0;
  long stopLine = 0;
  std::string stopText;
  std::vector<Finding> findings;

 private:
  std::map<std::string, long> keyLines_;
  std::map<std::string, long> slotLines_;  // of the current object
};

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::istringstream in(bytes);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool IsBlankLine(const std::string& line) { return line.find_first_not_of(" \t\r\v\f") == std::string::npos; }

// Explains the stop line and what it leaves unread.
void ReportStop(CheckObserver& check, const std::vector<std::string>& lines) {
  if (check.stopLine <= 0) return;
  const std::size_t first = static_cast<std::size_t>(check.stopLine - 1);
  int nonBlank = 0;
  int headers = 0;
  for (std::size_t i = first; i < lines.size(); ++i) {
    if (!IsBlankLine(lines[i])) ++nonBlank;
    if (ZRBObjectLineSyntax::Parse(lines[i]).kind == ZRBObjectLineKind::Header) ++headers;
  }
  if (nonBlank == 0) return;  // only blank lines left: nothing is lost
  const ZRBObjectLine parsed = ZRBObjectLineSyntax::Parse(check.stopText);
  std::string why = ZRBObjectLineSyntax::Describe(parsed.kind);
  if (check.stopLine == 1 && check.objects == 0) {
    if (IsBlankLine(check.stopText))
      why = "the first line is empty; a file must begin with an object header (\"@KEY\")";
    else if (parsed.kind == ZRBObjectLineKind::Other)
      why = "the file does not begin with an object header (\"@KEY\")";
    else
      why = "the file does not begin with an object header: " + why;
  }
  std::string text = "reading stops here: " + why + "\n    " + ZRBToolText::Quote(check.stopText) + "\n    ";
  if (lines.size() > first + 1)
    text += "lines " + std::to_string(check.stopLine) + "-" + std::to_string(lines.size()) + " are ignored";
  else
    text += "this line is ignored";
  text += " (" + std::to_string(nonBlank) + (nonBlank == 1 ? " non-blank line" : " non-blank lines");
  if (headers > 0) text += ", " + std::to_string(headers) + (headers == 1 ? " object header" : " object headers");
  text += ")";
  check.Add(check.stopLine, true, text);
}

int RunCheck(const std::string& path, std::ostream& out, std::ostream& err) {
  ZRBObjectManager manager;
  CheckObserver check;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in || !manager.Read(CADUnicodeString(path), check)) {
    err << "zrbtool check: cannot read '" << path << "'\n";
    return kZRBToolFileProblem;
  }
  const std::string content = bytes.str();
  const std::vector<std::string> lines = SplitLines(content);
  if (content.rfind("\xEF\xBB\xBF", 0) == 0)
    check.Add(1, false, "the file begins with a UTF-8 byte order mark; the module skips it, other readers may not");
  ReportStop(check, lines);
  std::stable_sort(check.findings.begin(), check.findings.end(),
                   [](const Finding& a, const Finding& b) { return a.line < b.line; });

  int errors = 0;
  for (const Finding& f : check.findings) {
    out << path << ":" << f.line << ": " << (f.error ? "error: " : "warning: ") << f.text << "\n";
    errors += f.error ? 1 : 0;
  }
  out << path << ": " << check.objects << (check.objects == 1 ? " object, " : " objects, ") << check.slots
      << (check.slots == 1 ? " slot" : " slots") << " read";
  if (content.empty()) out << " (the file is empty)";
  if (errors > 0) {
    out << "; content would be ignored (" << errors << (errors == 1 ? " error" : " errors") << ")\n";
    return kZRBToolFileProblem;
  }
  out << "; everything in the file is read\n";
  return kZRBToolOk;
}

ZRBToolRun DefineCheck(CLI::App& sub) {
  auto file = std::make_shared<std::string>();
  sub.add_option("FILE", *file, "the exchange object file")->required();
  return [file](std::ostream& out, std::ostream& err) { return RunCheck(*file, out, err); };
}

const ZRBToolRegistration registration{{
    "check",
    "check FILE",
    "tell where and why reading would leave content out",
    "Reads the file exactly as the module does and reports, with line numbers:\n"
    "  - the line where reading stops early (a line that is neither an object\n"
    "    header \"@KEY\" nor a slot line \"{NAME} value\", such as \"@\" without a\n"
    "    key, an unterminated \"{NAME\", or \"{NAME}\" with nothing after it) and\n"
    "    how much of the file it leaves unread;\n"
    "  - values longer than 16300 bytes, which are cut;\n"
    "  - slot names that cannot be stored, and slots that repeat in one object;\n"
    "  - warnings: repeated object keys, text that is not UTF-8, a byte order mark.\n\n"
    "Exits with 1 when any content would be ignored, 0 otherwise.\n",
    &DefineCheck,
}};
}  // namespace
