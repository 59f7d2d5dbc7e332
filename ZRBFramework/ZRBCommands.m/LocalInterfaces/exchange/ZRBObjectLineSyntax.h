// What one line of an exchange object file is: an object header ("@KEY"), a
// slot line ("{NAME} value"), or a line that ends the reading, and why.
#pragma once

#include <cstring>
#include <string_view>

enum class ZRBObjectLineKind {
  Header,             // "@KEY"
  Slot,               // "{NAME} value"
  HeaderWithoutKey,   // "@" alone
  SlotNameNotClosed,  // "{NAME value" without "}"
  SlotNameEmpty,      // "{} value"
  SlotWithoutValue,   // "{NAME}" with nothing after the brace
  Other               // anything else, an empty line included
};

struct ZRBObjectLine {
  ZRBObjectLineKind kind = ZRBObjectLineKind::Other;
  std::string_view key;    // Header: the key, trailing CRs removed
  std::string_view name;   // Slot: the name as written
  std::string_view value;  // Slot: the rest of the line after "}", unstripped
};

class ZRBObjectLineSyntax {
 public:
  // `line` comes without its line feed; trailing CRs are ignored, so a CRLF
  // file reads exactly as an LF one.
  static ZRBObjectLine Parse(std::string_view line);
  // Parse(line).kind == ZRBObjectLineKind::Slot, without taking the line
  // apart: reading keeps slot lines as they stand.
  static bool IsSlotLine(std::string_view line) {
    std::size_t n = line.size();
    while (n > 0 && line[n - 1] == '\r') --n;
    if (n < 4 || line.front() != '{') return false;
    const void* close = std::memchr(line.data() + 1, '}', n - 1);
    if (close == nullptr) return false;
    const std::size_t at = static_cast<std::size_t>(static_cast<const char*>(close) - line.data());
    return at != 1 && at + 1 != n;
  }
  // A short English explanation of a kind, for tools that explain a file.
  static const char* Describe(ZRBObjectLineKind kind);
};
