// Unicode host text (UTF-8 inside): paths, names and messages. The native
// form on this platform is UTF-8 too, so conversions are the identity.
#pragma once

#include "CADBasicString.h"
#include "CADString.h"

class CADUnicodeString : public cadhost::CADBasicString<CADUnicodeString> {
 public:
  using CADBasicString::CADBasicString;
  CADUnicodeString() = default;
  explicit CADUnicodeString(const CADString& text) : CADBasicString(text.str()) {}

  // Length in code points (continuation bytes are not counted).
  int GetLengthInChar() const;
  // The 8-bit form (identity: UTF-8 bytes).
  CADString ConvertToString() const { return CADString(str()); }
  const char* ConvertToChar() const { return c_str(); }
};

template <>
struct std::hash<CADUnicodeString> {
  size_t operator()(const CADUnicodeString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};
