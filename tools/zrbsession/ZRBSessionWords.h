// Splits a session command line into words: blanks separate, "double" and
// 'single' quotes group (a backslash escapes inside double quotes), and a
// word starting with # begins a comment. ${NAME} takes the environment's value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ZRBSessionWords {
 public:
  // False, with `error` set, for an unterminated quote or a trailing backslash.
  static bool Split(std::string_view line, std::vector<std::string>& words, std::string& error);
  // Replaces every ${NAME} by the environment variable's value; false, with
  // `error` naming it, when a variable is not set (a script must not run on
  // with an empty path).
  static bool Expand(std::string_view line, std::string& expanded, std::string& error);
  // Joins words from `first` on with single blanks.
  static std::string Join(const std::vector<std::string>& words, std::size_t first);
};
