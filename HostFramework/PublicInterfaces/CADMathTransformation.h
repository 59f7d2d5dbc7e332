// Rigid or affine placement of a product instance: a 3x3 linear part and a
// translation, in the host's twelve-number layout.
//
// Coefficient layout (the host's order, used by GetCoef/SetCoef):
//   c[0..2]  first axis vector  (image of the x unit vector)
//   c[3..5]  second axis vector (image of the y unit vector)
//   c[6..8]  third axis vector  (image of the z unit vector)
//   c[9..11] translation
// A point p maps to p.x*X + p.y*Y + p.z*Z + T. Written as the module's
// sixteen-number text "X0 X1 X2 0 Y0 Y1 Y2 0 Z0 Z1 Z2 0 T0 T1 T2 1", this is
// the homogeneous 4x4 matrix in column-major order (each axis vector is a
// column, the translation the last column).
#pragma once

#include <array>

#include "CADBaseTypes.h"

struct CADMathPoint {
  double x = 0.0, y = 0.0, z = 0.0;
  friend bool operator==(const CADMathPoint&, const CADMathPoint&) = default;
};

class CADMathTransformation {
 public:
  // Identity.
  CADMathTransformation();
  // From the twelve coefficients in the layout above.
  explicit CADMathTransformation(const double coefficients[12]);
  explicit CADMathTransformation(const std::array<double, 12>& coefficients);

  static CADMathTransformation Identity() { return CADMathTransformation(); }
  // Rotation by `degrees` about an axis through the origin (x = 0, y = 1, z = 2).
  static CADMathTransformation Rotation(int axis, double degrees);
  static CADMathTransformation Translation(double x, double y, double z);

  // Copies the twelve coefficients out / in.
  void GetCoef(double coefficients[12]) const;
  void SetCoef(const double coefficients[12]);
  const std::array<double, 12>& Coefficients() const { return c_; }
  CADMathPoint GetTranslation() const { return {c_[9], c_[10], c_[11]}; }

  // this * other: apply `other` first, then this.
  CADMathTransformation operator*(const CADMathTransformation& other) const;
  CADMathPoint operator*(const CADMathPoint& p) const;

  double Determinant() const;
  // The inverse placement; E_FAIL (and `out` untouched) for a singular linear part.
  HRESULT GetInverse(CADMathTransformation& out) const;

  bool IsIdentity(double tolerance = 1e-12) const;
  // Coefficient-wise comparison with an absolute tolerance.
  bool IsEqual(const CADMathTransformation& other, double tolerance = 1e-12) const;
  friend bool operator==(const CADMathTransformation& a, const CADMathTransformation& b) { return a.c_ == b.c_; }

 private:
  std::array<double, 12> c_;
};
