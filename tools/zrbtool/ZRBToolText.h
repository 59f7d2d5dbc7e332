// Text helpers of zrbtool: UTF-8 validity, texts for JSON, quoting a line of
// a file for a report.
#pragma once

#include <string>
#include <string_view>

class ZRBToolText {
 public:
  static bool IsValidUtf8(std::string_view text);
  // The text as valid UTF-8 for a JSON value: bytes that are not UTF-8 are
  // taken as Latin-1 (what a PDM not writing UTF-8 most likely meant).
  static std::string Utf8(std::string_view text);
  // The line in double quotes, control characters shown as \r, \t, \xNN,
  // cut after `maxChars` characters with "...".
  static std::string Quote(std::string_view line, std::size_t maxChars = 72);
};
