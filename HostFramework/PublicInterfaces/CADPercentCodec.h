// Percent-encoding of the automation protocol's fields, and the UTF-8 check
// that every decoded field must pass.
#pragma once

#include <string>
#include <string_view>

class CADPercentCodec {
 public:
  // Escapes '%', control characters (tab, line feed, carriage return ...) and
  // DEL as %XX (upper-case hex); every other byte is kept.
  static std::string Encode(std::string_view text);
  // Undoes %XX escapes (either case). False, with `out` unspecified, on a
  // truncated or non-hex escape.
  static bool Decode(std::string_view text, std::string& out);
  // Well-formed UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
  static bool IsValidUtf8(std::string_view text);
};
