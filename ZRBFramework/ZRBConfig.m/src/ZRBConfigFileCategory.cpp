#include "ZRBConfigFileCategory.h"

bool ZRBConfigFileCategory::Matches(std::string_view type, std::string_view fileName) const {
  if (type != documentType) return false;
  return namePattern.empty() || WildcardMatch(namePattern, fileName);
}

bool ZRBConfigFileCategory::WildcardMatch(std::string_view pattern, std::string_view text) {
  // Greedy scan that backtracks only to the last '*': linear in practice and
  // never exponential, whatever the configuration file holds.
  size_t p = 0, t = 0;
  size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}
