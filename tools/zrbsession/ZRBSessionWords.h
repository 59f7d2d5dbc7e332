// Splits a session command line into words: blanks separate, "double" and
// 'single' quotes group (a backslash escapes inside double quotes), and a
// word starting with # begins a comment. ${NAME} outside single quotes takes
// the environment's value as it is: it becomes part of the word it stands in
// and is never split or read for quotes, escapes or comments again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ZRBSessionWords {
 public:
  // False, with `error` set, for an unterminated quote, a trailing backslash,
  // an unterminated ${ or a variable that is not set (a script must not run
  // on with an empty path).
  static bool Split(std::string_view line, std::vector<std::string>& words, std::string& error);
  // Joins words from `first` on with single blanks.
  static std::string Join(const std::vector<std::string>& words, std::size_t first);
};
