#include "CADTime.h"

#include <string>

#include "CADClock.h"

CADTime CADTime::GetCurrentTime() { return CADTime(static_cast<std::time_t>(CADClock::Now().seconds)); }

CADUnicodeString CADTime::ConvertToString(const char* format, int mode) const {
  if (!format || !*format) return CADUnicodeString();
  std::tm broken{};
  if (mode == Local) {
    if (!::localtime_r(&seconds_, &broken)) return CADUnicodeString();
  } else if (mode == UTC) {
    if (!::gmtime_r(&seconds_, &broken)) return CADUnicodeString();
  } else {
    return CADUnicodeString();
  }
  // strftime reports 0 both for "too small" and for an empty result, so grow
  // the buffer a few times before taking 0 as the answer.
  for (size_t size = 64; size <= 64 * 1024; size *= 4) {
    std::string out(size, '\0');
    size_t length = std::strftime(out.data(), out.size(), format, &broken);
    if (length > 0) {
      out.resize(length);
      return CADUnicodeString(std::move(out));
    }
  }
  return CADUnicodeString();
}
