#include "ZRBToolText.h"

#include <cstdio>

namespace {
// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  std::size_t length;
  unsigned int minimum;
  unsigned int code;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3Fu);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string Hex(const char* format, unsigned int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}
}  // namespace

bool ZRBToolText::IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = SequenceLength(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string ZRBToolText::Utf8(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = SequenceLength(text, i);
    if (n > 0) {
      out.append(text.substr(i, n));
      i += n;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i++]);
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string ZRBToolText::Quote(std::string_view line, std::size_t maxChars) {
  std::string out = "\"";
  std::size_t shown = 0;
  for (char ch : line) {
    const unsigned char c = static_cast<unsigned char>(ch);
    // Counted per character start, so the cut never splits a sequence.
    if ((c & 0xC0) != 0x80 && shown++ == maxChars) {
      out += "...";
      break;
    }
    if (c == '\r')
      out += "\\r";
    else if (c == '\t')
      out += "\\t";
    else if (c < 0x20 || c == 0x7F)
      out += Hex("\\x%02x", c);
    else
      out += ch;
  }
  return out + "\"";
}
