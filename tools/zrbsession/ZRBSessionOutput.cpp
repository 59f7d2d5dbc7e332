#include "ZRBSessionOutput.h"

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

ZRBSessionOutput::ZRBSessionOutput(bool allowColour) {
  const char* noColour = std::getenv("NO_COLOR");
  colour_ = allowColour && isatty(STDOUT_FILENO) && !(noColour && *noColour);
}

std::string ZRBSessionOutput::Paint(std::string_view text, Tone tone) const {
  if (!colour_ || tone == Tone::Plain) return std::string(text);
  const char* code = "";
  switch (tone) {
    case Tone::Heading:
      code = "1";
      break;
    case Tone::Good:
      code = "32";
      break;
    case Tone::Warn:
      code = "33";
      break;
    case Tone::Bad:
      code = "31";
      break;
    case Tone::Dim:
      code = "2";
      break;
    case Tone::Accent:
      code = "36";
      break;
    case Tone::Plain:
      break;
  }
  return std::string("\033[") + code + "m" + std::string(text) + "\033[0m";
}

void ZRBSessionOutput::Line(std::string_view text) { std::cout << text << '\n' << std::flush; }

void ZRBSessionOutput::Note(std::string_view text) {
  std::cout << Paint("  " + std::string(text), Tone::Dim) << '\n' << std::flush;
}

void ZRBSessionOutput::Error(std::string_view text) {
  std::cout << std::flush;
  const bool colour = colour_ && isatty(STDERR_FILENO);
  std::cerr << (colour ? "\033[31merror:\033[0m " : "error: ") << text << '\n' << std::flush;
}

void ZRBSessionOutput::Heading(std::string_view text) { Line(Paint(text, Tone::Heading)); }

void ZRBSessionOutput::Table(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (widths.size() <= c) widths.push_back(0);
      widths[c] = std::max(widths[c], Width(row[c]));
    }
  for (std::size_t r = 0; r < rows.size(); ++r) {
    std::string line;
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const bool last = c + 1 == rows[r].size();
      std::string cell = rows[r][c];
      if (!last) cell += std::string(widths[c] - Width(cell) + 2, ' ');
      line += cell;
    }
    Line(r == 0 ? Paint(line, Tone::Heading) : line);
  }
}

std::string ZRBSessionOutput::Visible(std::string_view text) {
  std::string out;
  for (unsigned char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case 0x1b:
        out += "\\e";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

std::string ZRBSessionOutput::Number(double value) {
  if (!std::isfinite(value)) return "0";
  if (std::fabs(value) < 5e-13) value = 0.0;  // no "-0" or rounding dust in listings
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.12g", value);
  return buffer;
}

std::size_t ZRBSessionOutput::Width(std::string_view text) {
  std::size_t width = 0;
  bool escape = false;
  for (unsigned char c : text) {
    if (escape) {
      if (c == 'm') escape = false;
      continue;
    }
    if (c == 0x1b) {
      escape = true;
      continue;
    }
    if ((c & 0xC0) != 0x80) ++width;
  }
  return width;
}
