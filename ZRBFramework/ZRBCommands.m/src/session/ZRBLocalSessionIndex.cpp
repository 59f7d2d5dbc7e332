#include "ZRBLocalSessionIndex.h"

#include <charconv>

namespace {
int ParseCount(const std::string& line, int& value) {
  if (line.empty()) return 0;
  auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  return error == std::errc() && end == line.data() + line.size();
}
}  // namespace

int ZRBLocalSessionIndex::FitsOnLine(std::string_view value) {
  return value.find_first_of("\r\n") == std::string_view::npos;
}

std::string ZRBLocalSessionIndex::Write() const {
  std::string text = identity + "\n" + std::to_string(tmpCounter) + "\n" + std::to_string(archives.size()) + "\n";
  for (const Pairs* pairs : {&archives, &documents})
    for (const auto& [first, second] : *pairs) text += first + "\n" + second + "\n";
  return text;
}

int ZRBLocalSessionIndex::Parse(std::string_view text, ZRBLocalSessionIndex& index, std::string& error) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }
  index = ZRBLocalSessionIndex();
  if (lines.size() < 3) {
    error = "fewer than three lines";
    return 0;
  }
  int archiveCount = 0;
  if (!ParseCount(lines[1], index.tmpCounter) || !ParseCount(lines[2], archiveCount) || archiveCount < 0) {
    error = "a count is no decimal number";
    return 0;
  }
  const size_t rest = lines.size() - 3;
  if (static_cast<size_t>(archiveCount) > rest / 2) {
    error = "archive lines missing";
    return 0;
  }
  if ((rest - 2 * static_cast<size_t>(archiveCount)) % 2 != 0) {
    error = "a document line without its window name";
    return 0;
  }
  index.identity = lines[0];
  size_t at = 3;
  for (int i = 0; i < archiveCount; ++i, at += 2) index.archives.emplace_back(lines[at], lines[at + 1]);
  for (; at < lines.size(); at += 2) index.documents.emplace_back(lines[at], lines[at + 1]);
  return 1;
}
