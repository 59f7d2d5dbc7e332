#include "CADMathTransformation.h"

#include <algorithm>
#include <cmath>

CADMathTransformation::CADMathTransformation() : c_{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0} {}

CADMathTransformation::CADMathTransformation(const double coefficients[12]) { SetCoef(coefficients); }

CADMathTransformation::CADMathTransformation(const std::array<double, 12>& coefficients) : c_(coefficients) {}

CADMathTransformation CADMathTransformation::Rotation(int axis, double degrees) {
  const double pi = std::acos(-1.0);
  const double a = degrees * pi / 180.0;
  double c = std::cos(a), s = std::sin(a);
  // Exact values for the quarter turns, so that tests and sample files stay readable.
  double quarter = degrees / 90.0;
  if (quarter == std::floor(quarter)) {
    long q = static_cast<long>(quarter) % 4;
    if (q < 0) q += 4;
    static const double kCos[4] = {1, 0, -1, 0}, kSin[4] = {0, 1, 0, -1};
    c = kCos[q];
    s = kSin[q];
  }
  CADMathTransformation t;
  auto& m = t.c_;
  // Columns are the images of the unit vectors.
  switch (axis) {
    case 0:
      m = {1, 0, 0, 0, c, s, 0, -s, c, 0, 0, 0};
      break;
    case 1:
      m = {c, 0, -s, 0, 1, 0, s, 0, c, 0, 0, 0};
      break;
    default:
      m = {c, s, 0, -s, c, 0, 0, 0, 1, 0, 0, 0};
      break;
  }
  return t;
}

CADMathTransformation CADMathTransformation::Translation(double x, double y, double z) {
  CADMathTransformation t;
  t.c_[9] = x;
  t.c_[10] = y;
  t.c_[11] = z;
  return t;
}

void CADMathTransformation::GetCoef(double coefficients[12]) const {
  for (int i = 0; i < 12; ++i) coefficients[i] = c_[static_cast<size_t>(i)];
}

void CADMathTransformation::SetCoef(const double coefficients[12]) {
  for (int i = 0; i < 12; ++i) c_[static_cast<size_t>(i)] = coefficients[i];
}

CADMathPoint CADMathTransformation::operator*(const CADMathPoint& p) const {
  const auto& m = c_;
  return {p.x * m[0] + p.y * m[3] + p.z * m[6] + m[9], p.x * m[1] + p.y * m[4] + p.z * m[7] + m[10],
          p.x * m[2] + p.y * m[5] + p.z * m[8] + m[11]};
}

CADMathTransformation CADMathTransformation::operator*(const CADMathTransformation& other) const {
  // Linear part: each column of `other` mapped by this linear part; the
  // translation: other's translation mapped by this, plus this translation.
  CADMathTransformation out;
  const auto& a = c_;
  const auto& b = other.c_;
  auto& r = out.c_;
  for (int col = 0; col < 3; ++col) {
    const double x = b[static_cast<size_t>(3 * col)], y = b[static_cast<size_t>(3 * col + 1)],
                 z = b[static_cast<size_t>(3 * col + 2)];
    for (int row = 0; row < 3; ++row)
      r[static_cast<size_t>(3 * col + row)] =
          x * a[static_cast<size_t>(row)] + y * a[static_cast<size_t>(3 + row)] + z * a[static_cast<size_t>(6 + row)];
  }
  CADMathPoint t = (*this) * CADMathPoint{b[9], b[10], b[11]};
  r[9] = t.x;
  r[10] = t.y;
  r[11] = t.z;
  return out;
}

double CADMathTransformation::Determinant() const {
  const auto& m = c_;
  // Columns X = m[0..2], Y = m[3..5], Z = m[6..8]: det = X . (Y x Z).
  return m[0] * (m[4] * m[8] - m[5] * m[7]) - m[3] * (m[1] * m[8] - m[2] * m[7]) + m[6] * (m[1] * m[5] - m[2] * m[4]);
}

HRESULT CADMathTransformation::GetInverse(CADMathTransformation& out) const {
  const auto& m = c_;
  const double det = Determinant();
  // Relative test: the matrix scale must not make a tiny determinant look regular.
  double scale = 0.0;
  for (int i = 0; i < 9; ++i) scale = std::max(scale, std::fabs(m[static_cast<size_t>(i)]));
  if (!std::isfinite(det) || scale == 0.0 || std::fabs(det) <= 1e-12 * scale * scale * scale) return E_FAIL;
  // Element (row, col) of the matrix is m[3*col + row].
  auto e = [&](int row, int col) { return m[static_cast<size_t>(3 * col + row)]; };
  CADMathTransformation inv;
  auto& r = inv.c_;
  auto set = [&](int row, int col, double v) { r[static_cast<size_t>(3 * col + row)] = v / det; };
  set(0, 0, e(1, 1) * e(2, 2) - e(1, 2) * e(2, 1));
  set(0, 1, e(0, 2) * e(2, 1) - e(0, 1) * e(2, 2));
  set(0, 2, e(0, 1) * e(1, 2) - e(0, 2) * e(1, 1));
  set(1, 0, e(1, 2) * e(2, 0) - e(1, 0) * e(2, 2));
  set(1, 1, e(0, 0) * e(2, 2) - e(0, 2) * e(2, 0));
  set(1, 2, e(0, 2) * e(1, 0) - e(0, 0) * e(1, 2));
  set(2, 0, e(1, 0) * e(2, 1) - e(1, 1) * e(2, 0));
  set(2, 1, e(0, 1) * e(2, 0) - e(0, 0) * e(2, 1));
  set(2, 2, e(0, 0) * e(1, 1) - e(0, 1) * e(1, 0));
  r[9] = r[10] = r[11] = 0.0;
  CADMathPoint t = inv * CADMathPoint{m[9], m[10], m[11]};
  r[9] = -t.x;
  r[10] = -t.y;
  r[11] = -t.z;
  out = inv;
  return S_OK;
}

bool CADMathTransformation::IsIdentity(double tolerance) const { return IsEqual(CADMathTransformation(), tolerance); }

bool CADMathTransformation::IsEqual(const CADMathTransformation& other, double tolerance) const {
  for (size_t i = 0; i < 12; ++i)
    if (!(std::fabs(c_[i] - other.c_[i]) <= tolerance)) return false;
  return true;
}
