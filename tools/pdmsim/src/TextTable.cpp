#include "TextTable.h"

#include <cstdio>
#include <ostream>

namespace pdmsim {

std::size_t TextTable::Width(const std::string& text) {
  std::size_t width = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++width;
  }
  return width;
}

void TextTable::Print(std::ostream& out) const {
  std::vector<std::size_t> widths(header_.size(), 0);
  auto measure = [&](const std::vector<std::string>& row) {
    for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
      if (Width(row[i]) > widths[i]) widths[i] = Width(row[i]);
    }
  };
  measure(header_);
  for (const auto& row : rows_) measure(row);
  auto print = [&](const std::vector<std::string>& row) {
    std::string line;
    for (std::size_t i = 0; i < widths.size(); ++i) {
      std::string cell = i < row.size() ? row[i] : std::string();
      line += cell;
      if (i + 1 < widths.size()) line += std::string(widths[i] - Width(cell) + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  };
  print(header_);
  for (const auto& row : rows_) print(row);
}

}  // namespace pdmsim
