#include "ZRBSessionBoxAsker.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <iostream>

#include "CADDlgNotify.h"

namespace {

bool HasYesNo(unsigned long style) { return (style & CADDlgNfyYesNo) != 0; }
bool HasCancel(unsigned long style) { return !HasYesNo(style) && (style & CADDlgNfyOKCancel) != 0; }

}  // namespace

std::string ZRBSessionBoxAsker::Choices(unsigned long style) {
  if (HasYesNo(style)) return "[y]es / [n]o";
  if (HasCancel(style)) return "[o]k / [c]ancel";
  return "[o]k";
}

int ZRBSessionBoxAsker::AnswerFor(std::string_view word, unsigned long style) {
  std::string lower;
  for (char c : word) {
    const auto byte = static_cast<unsigned char>(c);
    if (!std::isspace(byte)) lower += static_cast<char>(std::tolower(byte));
  }
  if (lower.empty()) return 0;
  if (HasYesNo(style)) {
    if (lower == "y" || lower == "yes") return CADDlgNfyAnswerYes;
    if (lower == "n" || lower == "no") return CADDlgNfyAnswerNo;
    return -1;
  }
  if (lower == "o" || lower == "ok") return CADDlgNfyAnswerOK;
  if (HasCancel(style) && (lower == "c" || lower == "cancel")) return CADDlgNfyAnswerCancel;
  return -1;
}

int ZRBSessionBoxAsker::Ask(const CADDlgBoxRecord& box) {
  std::string heading = output_.Paint("message box", ZRBSessionOutput::Tone::Accent);
  if (!box.title.IsEmpty()) heading += " \"" + box.title.str() + "\"";
  output_.Line(heading + ": " + box.text.str());
  const std::string question = "  " + Choices(box.style) + " (Enter: the safe default) ? ";
  for (;;) {
    std::cout << question << std::flush;
    std::string line;
    if (!ReadLine(line)) {
      std::cout << '\n';
      return 0;
    }
    const int answer = AnswerFor(line, box.style);
    if (answer >= 0) return answer;
    output_.Error("not a button of this box: " + line);
  }
}

bool ZRBSessionBoxAsker::ReadLine(std::string& line) {
  for (;;) {
    const std::size_t newline = typedAhead_.find('\n');
    if (newline != std::string::npos) {
      line = typedAhead_.substr(0, newline);
      typedAhead_.erase(0, newline + 1);
      return true;
    }
    char buffer[256];
    const ssize_t n = read(inputFd_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      line.swap(typedAhead_);
      typedAhead_.clear();
      return !line.empty();
    }
    typedAhead_.append(buffer, static_cast<std::size_t>(n));
  }
}
