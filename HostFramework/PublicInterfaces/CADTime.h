// A point in time in whole seconds since 1970-01-01 00:00 UTC, formatted
// with strftime-style formats in local time or UTC.
#pragma once

#include <ctime>

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

class CADTime {
 public:
  // Formatting modes of ConvertToString.
  enum Mode : int { Local = 0, UTC = 1 };

  CADTime() = default;
  explicit CADTime(std::time_t secondsSince1970) : seconds_(secondsSince1970) {}
  // The current time of the host's clock (CADClock, which tests can set).
  static CADTime GetCurrentTime();

  std::time_t GetTime() const { return seconds_; }

  // `format` as strftime understands it ("%Y-%m-%d-%H.%M.%S"), with the time
  // broken down in local time (mode 0) or UTC (mode 1). "" for an unknown
  // mode or a time the system cannot break down.
  CADUnicodeString ConvertToString(const char* format, int mode = Local) const;

 private:
  std::time_t seconds_ = 0;
};
