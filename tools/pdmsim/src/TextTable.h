// Prints rows as aligned columns for the terminal.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace pdmsim {

class TextTable {
 public:
  explicit TextTable(std::vector<std::string> header) : header_(std::move(header)) {}
  void AddRow(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  void Print(std::ostream& out) const;
  bool Empty() const { return rows_.empty(); }

  // Display width of UTF-8 text (code points; good enough for names and dates).
  static std::size_t Width(const std::string& text);

 private:
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace pdmsim
