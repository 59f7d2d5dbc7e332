// Calendar arithmetic in UTC: the inverse of gmtime for the time stamps the
// PDM sends, independent of the process time zone.
#pragma once

#include <ctime>

class ZRBTimeUtil {
 public:
  // Seconds since 1970-01-01 00:00 UTC of a broken-down UTC time. Months
  // outside 0..11 carry into the year (negative months borrow); day, hour,
  // minute and second are added as they are, so out-of-range values roll
  // over like timegm's. The struct is not changed. A null pointer gives -1.
  static std::time_t mkgmtime(const struct tm* brokenDown);
};
