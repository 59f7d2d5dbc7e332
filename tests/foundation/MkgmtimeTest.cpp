#include <gtest/gtest.h>

#include <ctime>
#include <random>

#include "ZRBTimeUtil.h"

// timegm is the reference: it normalises every field the same way, including
// months outside 0..11 that carry into the year.
TEST(ZRBTimeUtil, MkgmtimeAgreesWithTimegmOverRandomDates) {
  std::mt19937 random(20050302);
  std::uniform_int_distribution<int> year(-100, 300), month(-13, 13), day(1, 31), hour(0, 23), minute(0, 59),
      second(0, 60);
  for (int i = 0; i < 200000; ++i) {
    struct tm t {};
    t.tm_year = year(random);
    t.tm_mon = month(random);
    t.tm_mday = day(random);
    t.tm_hour = hour(random);
    t.tm_min = minute(random);
    t.tm_sec = second(random);
    const struct tm before = t;
    struct tm copy = t;
    std::time_t expected = ::timegm(&copy);
    ASSERT_EQ(ZRBTimeUtil::mkgmtime(&t), expected) << t.tm_year + 1900 << "-" << t.tm_mon << "-" << t.tm_mday << " "
                                                   << t.tm_hour << ":" << t.tm_min << ":" << t.tm_sec;
    ASSERT_TRUE(t.tm_year == before.tm_year && t.tm_mon == before.tm_mon && t.tm_mday == before.tm_mday &&
                t.tm_sec == before.tm_sec)
        << "the input is not changed";
  }
  EXPECT_EQ(ZRBTimeUtil::mkgmtime(nullptr), static_cast<std::time_t>(-1));
}
