// The switches and limits of the cache as the environment sets them.
#include <gtest/gtest.h>

#include <climits>

#include "CaseText.h"
#include "ZRBCacheSettings.h"

namespace {

struct LimitCase {
  // Shown in test names and failures instead of the bytes of the case.
  friend void PrintTo(const LimitCase& c, std::ostream* out) { *out << '"' << ZrbCaseText(c.text) << '"'; }
  const char* text;
  int set;
  unsigned int kilobytes;
};

class SizeLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(SizeLimitTest, OnlyAWholeUnsignedNumberSetsALimit) {
  unsigned int kilobytes = 12345;
  EXPECT_EQ(ZRBCacheSettings::ParseSizeLimit(GetParam().text, kilobytes), GetParam().set) << GetParam().text;
  EXPECT_EQ(kilobytes, GetParam().kilobytes) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeLimitTest,
                         ::testing::Values(LimitCase{"10", 1, 10240}, LimitCase{"0", 1, 0}, LimitCase{"007", 1, 7168},
                                           LimitCase{"4194303", 1, 4194303u * 1024u}, LimitCase{"4194304", 1, UINT_MAX},
                                           LimitCase{"99999999999999999999999", 1, UINT_MAX}, LimitCase{"ON", 0, 0},
                                           LimitCase{"", 0, 0}, LimitCase{" 5", 0, 0}, LimitCase{"5 ", 0, 0},
                                           LimitCase{"-1", 0, 0}, LimitCase{"+3", 0, 0}, LimitCase{"10MB", 0, 0},
                                           LimitCase{"1.5", 0, 0}));

}  // namespace
