// The one rule for names the PDM writes into the exchange map: a single path
// component that cannot climb out of the directory or break a line.
#pragma once

#include <string_view>

namespace pdmsim {

inline bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 255 || name == "." || name == "..") return false;
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f) return false;
  }
  return true;
}

}  // namespace pdmsim
