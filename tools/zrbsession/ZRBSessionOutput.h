// How the runner writes to its user: plain lines, notes, errors and headings,
// coloured only when standard output is a terminal, aligned tables, and
// words from outside made visible (control characters escaped).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class ZRBSessionOutput {
 public:
  enum class Tone { Plain, Heading, Good, Warn, Bad, Dim, Accent };

  // --- lifecycle: colour follows the terminal unless forced off
  explicit ZRBSessionOutput(bool allowColour = true);
  bool UsesColour() const { return colour_; }

  // --- lines
  void Line(std::string_view text);
  void Note(std::string_view text);   // "  text" dimmed
  void Error(std::string_view text);  // "error: text" to standard error
  void Heading(std::string_view text);
  std::string Paint(std::string_view text, Tone tone) const;

  // --- tables: the first row is the header; columns padded to the widest cell
  void Table(const std::vector<std::vector<std::string>>& rows);

  // --- helpers
  // `text` with control characters written as \n, \t, \r, \e or \xNN and a backslash doubled.
  static std::string Visible(std::string_view text);
  static std::string Number(double value);
  // Display width of UTF-8 text (code points; box-drawing characters count one).
  static std::size_t Width(std::string_view text);

 private:
  bool colour_;
};
