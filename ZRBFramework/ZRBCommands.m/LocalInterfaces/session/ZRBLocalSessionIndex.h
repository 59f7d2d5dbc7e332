// The index of a local session file ("content.session"): who saved it where, the temporary counter, the archives
// with their structure files, and the top-level documents with the names of their windows. One entry a line.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct ZRBLocalSessionIndex {
  using Pairs = std::vector<std::pair<std::string, std::string>>;

  std::string identity;  // login "@" host
  int tmpCounter = 0;
  Pairs archives;   // archive file, structure file
  Pairs documents;  // top-level document, window name

  // 1 when the text can hold `value` as one line (no line break in it).
  static int FitsOnLine(std::string_view value);
  std::string Write() const;
  // Reads whole lines of any length, a trailing CR stripped. 0 and `error` for a damaged index: fewer than three
  // lines, a count that is no decimal number (or negative), archive lines missing, or an odd number of document
  // lines.
  static int Parse(std::string_view text, ZRBLocalSessionIndex& index, std::string& error);
};
