// The switches and limits of the cache as the environment sets them.
#include <gtest/gtest.h>

#include <climits>

#include "ZRBCacheSettings.h"

TEST(SizeLimitTest, OnlyAWholeUnsignedNumberSetsALimit) {
  struct L {
    const char* text;
    int set;
    unsigned int kilobytes;
  };
  for (const L& c : {L{"10", 1, 10240}, L{"0", 1, 0}, L{"007", 1, 7168}, L{"4194303", 1, 4194303u * 1024u},
                     L{"4194304", 1, UINT_MAX}, L{"99999999999999999999999", 1, UINT_MAX}, L{"ON", 0, 0}, L{"", 0, 0},
                     L{" 5", 0, 0}, L{"5 ", 0, 0}, L{"-1", 0, 0}, L{"+3", 0, 0}, L{"10MB", 0, 0}, L{"1.5", 0, 0}}) {
    unsigned int kilobytes = 12345;
    EXPECT_EQ(ZRBCacheSettings::ParseSizeLimit(c.text, kilobytes), c.set) << c.text;
    EXPECT_EQ(kilobytes, c.kilobytes) << c.text;
  }
}
