#include "CADBasicString.h"

#include <cstdio>
#include <vector>

#include "CADUnicodeString.h"

namespace cadhost {

std::string VFormatString(const char* format, va_list args) {
  if (!format) return {};
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) return {};
  if (static_cast<size_t>(needed) < sizeof small) return std::string(small, static_cast<size_t>(needed));
  std::vector<char> big(static_cast<size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(needed));
}

}  // namespace cadhost

int CADUnicodeString::GetLengthInChar() const {
  int count = 0;
  for (unsigned char c : str())
    if ((c & 0xC0) != 0x80) ++count;
  return count;
}
