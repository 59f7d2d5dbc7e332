// 8-bit host text: exchange-object slots, resource keys, environment values.
#pragma once

#include "CADBasicString.h"

class CADString : public cadhost::CADBasicString<CADString> {
 public:
  using CADBasicString::CADBasicString;
  CADString() = default;
};

template <>
struct std::hash<CADString> {
  size_t operator()(const CADString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};
