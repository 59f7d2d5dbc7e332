// Positions and boxes: the twelve-number layout, composition order, inverse.
#include <gtest/gtest.h>

#include <cmath>

#include "CADMathBox.h"
#include "CADMathTransformation.h"

namespace {

using T = CADMathTransformation;

void ExpectPoint(const CADMathPoint& p, double x, double y, double z) {
  EXPECT_NEAR(p.x, x, 1e-12);
  EXPECT_NEAR(p.y, y, 1e-12);
  EXPECT_NEAR(p.z, z, 1e-12);
}

TEST(MathTransformation, CoefficientsAreAxisVectorsThenTranslation) {
  // Rotation by 90 degrees about z: x goes to y, y goes to -x.
  const double c[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 7, 8, 9};
  T t(c);
  ExpectPoint(t * CADMathPoint{1, 0, 0}, 7, 9, 9);
  ExpectPoint(t * CADMathPoint{0, 1, 0}, 6, 8, 9);
  ExpectPoint(t * CADMathPoint{0, 0, 1}, 7, 8, 10);
  double back[12];
  t.GetCoef(back);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(back[i], c[i]);
  EXPECT_TRUE(T::Rotation(2, 90).IsEqual(T(std::array<double, 12>{0, 1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 0})));
}

TEST(MathTransformation, InverseUndoesRotationsTranslationsAndScaling) {
  const T cases[] = {
      T(),
      T::Translation(1, -2, 3),
      T::Translation(90, 40, 5) * T::Rotation(2, 90),
      T::Rotation(0, 33) * T::Rotation(1, 71) * T::Translation(-5, 0, 12),
      T(std::array<double, 12>{2, 0, 0, 0, 3, 0, 0, 1, 4, 1, 1, 1}),  // sheared and scaled
  };
  for (const T& t : cases) {
    T inverse;
    ASSERT_EQ(t.GetInverse(inverse), S_OK);
    EXPECT_TRUE((t * inverse).IsIdentity(1e-12));
    EXPECT_TRUE((inverse * t).IsIdentity(1e-12));
  }
}

TEST(MathTransformation, InverseOfSingularMatrixFailsAndLeavesOutputAlone) {
  const T singular[] = {
      T(std::array<double, 12>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3}),
      T(std::array<double, 12>{1, 2, 3, 2, 4, 6, 0, 0, 1, 0, 0, 0}),  // two parallel axes
      T(std::array<double, 12>{1e-9, 0, 0, 0, 1, 0, 0, 0, 1e9, 0, 0, 0}) *
          T(std::array<double, 12>{1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0}),
  };
  for (const T& t : singular) {
    T out = T::Translation(5, 5, 5);
    EXPECT_EQ(t.GetInverse(out), E_FAIL);
    EXPECT_TRUE(out == T::Translation(5, 5, 5));
  }
}

TEST(MathBox, TransformedBoxHoldsEveryRotatedCorner) {
  CADMathBox bolt({0, 0, 0}, {8, 8, 40});
  CADMathBox turned = bolt.Transformed(T::Translation(90, 40, 5) * T::Rotation(2, 90));
  EXPECT_EQ(turned, CADMathBox({82, 40, 5}, {90, 48, 45}));
  CADMathBox tilted = CADMathBox({-1, -1, -1}, {1, 1, 1}).Transformed(T::Rotation(2, 45));
  EXPECT_NEAR(tilted.GetHigh().x, std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(tilted.GetLow().y, -std::sqrt(2.0), 1e-12);
}

}  // namespace
