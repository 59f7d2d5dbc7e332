// One configured file category: documents of a type (and optionally of a
// file-name pattern) belong to a PDM category, which may ask for a link.
#pragma once

#include <string>
#include <string_view>

struct ZRBConfigFileCategory {
  std::string documentType;  // "CADPart", "CADProduct" ...; compared exactly
  std::string namePattern;   // "" any name; else '*' and '?' wildcards
  std::string category;      // what GetFileCategory hands out
  int link = 0;              // 1: an existing PDM item is linked, not created

  bool Matches(std::string_view type, std::string_view fileName) const;
  // '*' any run of bytes, '?' one byte, everything else literal.
  static bool WildcardMatch(std::string_view pattern, std::string_view text);
};
