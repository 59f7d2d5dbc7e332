#include "ZRBTimeUtil.h"

namespace {

// Days from 1970-01-01 to the first of the month in the proleptic Gregorian
// calendar (years divisible by 4 are leap years, except centuries not
// divisible by 400). `month` is 1..12.
long long DaysFromCivil(long long year, long long month) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5;  // day 1 of the month
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

std::time_t ZRBTimeUtil::mkgmtime(const struct tm* brokenDown) {
  if (!brokenDown) return static_cast<std::time_t>(-1);
  long long year = 1900LL + brokenDown->tm_year;
  long long month = brokenDown->tm_mon;
  // Normalise the month first: 12 is January of the next year, -1 December
  // of the previous one.
  year += month / 12;
  month %= 12;
  if (month < 0) {
    month += 12;
    year -= 1;
  }
  long long days = DaysFromCivil(year, month + 1) + (brokenDown->tm_mday - 1LL);
  long long seconds = days * 86400LL + brokenDown->tm_hour * 3600LL + brokenDown->tm_min * 60LL + brokenDown->tm_sec;
  return static_cast<std::time_t>(seconds);
}
