// Runs the configured external packing and unpacking commands (zip and unzip style) through the shell: every path
// one quoted word, lines kept under the limit one shell argument may hold, and the exit status judged strictly.
// The archives and the local session share it.
#pragma once

#include <string>
#include <vector>

class ZRBPackCommand {
 public:
  // The configured value of `setting`, else `fallback`.
  static std::string Setting(const char* setting, const char* fallback);
  // `path` as " " + one quoted shell word.
  static std::string Word(const std::string& path);
  // The longest line: the decimal value of `setting`, else the system's limit, never more than one shell argument
  // holds, less a margin. A configured value that is no number gives 0 (stop), or with `garbageMeansDefault` the
  // default.
  static int LineLimit(const char* setting, int garbageMeansDefault = 0);
  // Lines that add `files`: the first starts from `first`, each next one from `add`. Every line holds at least one
  // file; a file that does not fit even alone gives no lines (empty result) as does an empty `files`.
  static std::vector<std::string> BuildLines(const std::string& first, const std::string& add,
                                             const std::vector<std::string>& files, int limit);
  // Runs a line: 1 when the program ran and ended with a status from 0 to `highestGood` (ECHILD from the wait
  // counts as 0). A shell that could not run the program (126, 127) or a signal is a failure whatever the bound.
  static int RunLine(const std::string& line, const char* what, int highestGood = 0);
};
