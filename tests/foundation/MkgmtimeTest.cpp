#include <gtest/gtest.h>

#include <ctime>
#include <random>

#include "ZRBTimeUtil.h"

// timegm is the reference: it normalises every field the same way.
TEST(ZRBTimeUtil, MkgmtimeAgreesWithTimegmOverRandomDates) {
  std::mt19937 random(20050302);
  std::uniform_int_distribution<int> year(-100, 300), month(-1, 12), day(1, 31), hour(0, 23), minute(0, 59),
      second(0, 60);
  for (int i = 0; i < 200000; ++i) {
    struct tm t {};
    t.tm_year = year(random);
    t.tm_mon = month(random);
    t.tm_mday = day(random);
    t.tm_hour = hour(random);
    t.tm_min = minute(random);
    t.tm_sec = second(random);
    struct tm copy = t;
    std::time_t expected = ::timegm(&copy);
    ASSERT_EQ(ZRBTimeUtil::mkgmtime(&t), expected) << t.tm_year + 1900 << "-" << t.tm_mon << "-" << t.tm_mday << " "
                                                   << t.tm_hour << ":" << t.tm_min << ":" << t.tm_sec;
  }
}

TEST(ZRBTimeUtil, KnownDatesAndMonthCarry) {
  struct Case {
    int year, month, day, hour, minute, second;
    std::time_t expected;
  };
  const Case cases[] = {
      {1970, 0, 1, 0, 0, 0, 0},
      {2005, 2, 2, 14, 5, 9, 1109772309},
      {2000, 1, 29, 0, 0, 0, 951782400},    // 2000 is a leap year (divisible by 400)
      {2100, 2, 1, 0, 0, 0, 4107542400},    // 2100 is not: 1 March follows 28 February
      {2004, 12, 1, 0, 0, 0, 1104537600},   // month 12 is January 2005
      {2005, -1, 1, 0, 0, 0, 1101859200},   // month -1 is December 2004
      {2005, -13, 1, 0, 0, 0, 1070236800},  // December 2003
      {1969, 11, 31, 23, 59, 59, -1},
  };
  for (const auto& c : cases) {
    struct tm t {};
    t.tm_year = c.year - 1900;
    t.tm_mon = c.month;
    t.tm_mday = c.day;
    t.tm_hour = c.hour;
    t.tm_min = c.minute;
    t.tm_sec = c.second;
    EXPECT_EQ(ZRBTimeUtil::mkgmtime(&t), c.expected) << c.year << "/" << c.month;
    EXPECT_EQ(t.tm_mon, c.month);  // the input is not changed
  }
  EXPECT_EQ(ZRBTimeUtil::mkgmtime(nullptr), static_cast<std::time_t>(-1));
}
