// The text form of positions: exact output, the column order of the host's transformation, refusal of
// malformed texts, the comparison tolerance and its NaN handling, and independence from the process locale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CADMathTransformation.h"
#include "CommaLocale.h"
#include "ZRBPosMatrixUtil.h"

namespace {

using Coefficients = std::array<double, 12>;

std::string Text(const Coefficients& c) {
  CADUnicodeString text;
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToString(c.data(), text), S_OK);
  return text.str();
}

TEST(PositionTextTest, TextMatchesTheStoredFormatForIdentityRotationAndAwkwardNumbers) {
  const double third = 1.0 / 3.0;
  struct Case {
    Coefficients c;
    const char* expected;
  };
  const Case cases[] = {
      {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"},
      // A quarter turn about z, then moved: x goes to y, y to -x.
      {{0, 1, 0, -1, 0, 0, 0, 0, 1, 90, 40, 5}, "0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1"},
      {{third, -0.1, 0.000125, 0, 0, 0, 0, 0, 0, 123456789012.5, -2.5e+300, 1e-7},
       "0.3333333333333333 -0.1 0.000125 0 0 0 0 0 0 0 0 0 123456789012.5 -2.5e+300 1e-07 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.c), c.expected);
}

TEST(PositionTextTest, TextIsTheColumnMajorMatrixOfTheHostsTransformation) {
  // Rotation about x, then about z, then a move: every axis vector differs, so a row-major or shuffled text
  // cannot pass.
  const CADMathTransformation placement = CADMathTransformation::Translation(7, -8, 9) *
                                          CADMathTransformation::Rotation(2, 30) *
                                          CADMathTransformation::Rotation(0, 45);
  CADUnicodeString text;
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToString(placement.Coefficients().data(), text), S_OK);
  double numbers[16];
  std::istringstream in(text.str());
  for (double& number : numbers) ASSERT_TRUE(in >> number);
  const CADMathPoint origin = placement * CADMathPoint{0, 0, 0};
  const CADMathPoint units[3] = {placement * CADMathPoint{1, 0, 0}, placement * CADMathPoint{0, 1, 0},
                                 placement * CADMathPoint{0, 0, 1}};
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    EXPECT_NEAR(numbers[column * 4 + 0], units[column].x - origin.x, 1e-12);
    EXPECT_NEAR(numbers[column * 4 + 1], units[column].y - origin.y, 1e-12);
    EXPECT_NEAR(numbers[column * 4 + 2], units[column].z - origin.z, 1e-12);
    EXPECT_EQ(numbers[column * 4 + 3], 0.0);
  }
  EXPECT_EQ(std::vector<double>(numbers + 12, numbers + 16), (std::vector<double>{7, -8, 9, 1}));

  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(text, back), S_OK);
  // Sixteen significant digits: the text reads back to within the last digit.
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(back[i], placement.Coefficients()[i], 1e-15 * 16) << i;
}

// Accepted spellings read the same coefficients; malformed texts are refused and leave the coefficients alone.
TEST(PositionTextTest, TextsAreReadWholeOrNotAtAll) {
  const std::pair<const char*, bool> texts[] = {
      {"1 0 0 0 0 1 0 0 0 0 1 0 2.5 -3 4 1", true},
      {"  1 0 0 0\t0 1 0 0\n0 0 1 0 2.5 -3 4 1  \r\n", true},
      {"+1 0 0 9 0 1e0 0 9 0 0 1.0 9 25e-1 -3.0 +4 7", true},  // the fixed column is not kept
      {"", false},
      {"   ", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0", false},      // fifteen numbers
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 0", false},  // seventeen
      {"1,5 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},  // comma decimal separator
      {"1 0 0 0 0 1 0 0 0 0 1 0 0,5 0 0 1", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1x", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 abc 0 0 1", false},
      {"++1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},
      {"-+1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 1e999 0 0 1", false},  // out of range
      {"1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1", false},
  };
  for (const auto& [text, ok] : texts) {
    SCOPED_TRACE(text);
    Coefficients read;
    read.fill(42.0);
    EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(text, read.data()), ok ? S_OK : E_FAIL);
    Coefficients expected = {1, 0, 0, 0, 1, 0, 0, 0, 1, 2.5, -3, 4};
    if (!ok) expected.fill(42.0);
    EXPECT_EQ(read, expected);
  }
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(ZRBPosMatrixUtil::kIdentityText, nullptr), E_FAIL);
}

TEST(PositionTextTest, CompareHonoursTheToleranceAtItsBoundAndNeverCallsNaNEqual) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int index;
    double base;
    double other;
    int equal;
  };
  const Case cases[] = {
      {0, 0.0, 1e-7, 1},
      {0, 0.0, -1e-7, 1},
      {11, 250.0, 250.0 + 1e-7, 1},
      {5, 0.0, 2e-7, 0},
      {9, 0.0, 1.0000001e-7, 0},
      {11, 250.0, 250.0 + 2e-7, 0},
      {3, 0.0, nan, 0},
      {7, nan, 0.0, 0},
      {10, nan, nan, 0},
      {2, 1.0, std::numeric_limits<double>::infinity(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << ": " << c.base << " vs " << c.other);
    Coefficients a = {0, 1, 0, -1, 0, 0, 0, 0, 1, 10, 20, 30};
    Coefficients b = a;
    a[c.index] = c.base;
    b[c.index] = c.other;
    int equal = -1;
    ASSERT_EQ(ZRBPosMatrixUtil::Compare(a.data(), b.data(), &equal), S_OK);
    EXPECT_EQ(equal, c.equal);
    ASSERT_EQ(ZRBPosMatrixUtil::Compare(b.data(), a.data(), &equal), S_OK);
    EXPECT_EQ(equal, c.equal);
  }
  Coefficients a{};
  EXPECT_EQ(ZRBPosMatrixUtil::Compare(a.data(), a.data(), nullptr), E_FAIL);
}

TEST(PositionTextTest, AStoredNaNPositionReadsBackAndComparesUnequal) {
  Coefficients corrupt = {1, 0, 0, 0, 1, 0, 0, 0, 1, std::numeric_limits<double>::quiet_NaN(), 0, 0};
  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(Text(corrupt), back), S_OK);
  EXPECT_TRUE(std::isnan(back[9]));
  EXPECT_EQ(ZRBPosMatrixUtil::IsFinite(back), 0);
  const Coefficients identity = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(ZRBPosMatrixUtil::IsFinite(identity.data()), 1);
  int equal = 1;
  ASSERT_EQ(ZRBPosMatrixUtil::Compare(back, identity.data(), &equal), S_OK);
  EXPECT_EQ(equal, 0);
}

TEST(PositionTextTest, ACommaDecimalLocaleInTheProcessStillWritesAndReadsDots) {
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a comma decimal separator can be made here";
  const Coefficients c = {0, 1, 0, -1, 0, 0, 0, 0, 1, 12.25, -0.5, 3.75};
  EXPECT_EQ(Text(c), "0 1 0 0 -1 0 0 0 0 0 1 0 12.25 -0.5 3.75 1");
  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix("1 0 0 0 0 1 0 0 0 0 1 0 12.25 -0.5 3.75 1", back), S_OK);
  EXPECT_EQ(back[9], 12.25);
  EXPECT_EQ(back[10], -0.5);
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix("1 0 0 0 0 1 0 0 0 0 1 0 12,25 -0,5 3,75 1", back), E_FAIL);
  // The conversions leave the process locale as they found it.
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
  EXPECT_STREQ(buffer, "1,5");
}

}  // namespace
