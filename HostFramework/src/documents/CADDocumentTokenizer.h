// Splits one line of a host document file into tokens: bare words, or texts
// in double quotes with the escapes \" \\ \n \r \t. Also quotes texts for the
// writer, so that anything a value may hold survives a round trip.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CADDocumentTokenizer {
 public:
  // False (with `error` set) for an unterminated quote, an unknown escape or
  // a control character outside a quote.
  static bool Split(std::string_view line, std::vector<std::string>& tokens, std::string& error);
  // The token text of `value`: always quoted, escaped as Split expects.
  static std::string Quote(std::string_view value);
};
