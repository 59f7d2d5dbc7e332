// The one text form of an instance position and its conversions: twelve coefficients (three axis vectors, then
// the origin) written as the sixteen-number column-major homogeneous matrix, and their comparison.
#pragma once

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

// Stateless and locale-independent: safe on any thread, whatever numeric locale the process has set.
class ZRBPosMatrixUtil {
 public:
  // Two positions whose coefficients all lie within this distance of each other are the same position.
  static constexpr double kTolerance = 1e-07;
  // The identity position in its text form.
  static constexpr const char* kIdentityText = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";

  // --- text form
  // "X0 X1 X2 0 Y0 Y1 Y2 0 Z0 Z1 Z2 0 T0 T1 T2 1", each coefficient with 16 significant digits and a dot as
  // decimal separator. Always S_OK.
  static HRESULT ConvertToString(const double coefficients[12], CADUnicodeString& text);
  // Reads the sixteen numbers back (every fourth one is the fixed column of the homogeneous matrix and is not
  // kept). E_FAIL for a null array or a text that is not sixteen blank-separated numbers; the array is then
  // left unchanged.
  static HRESULT ConvertToMatrix(const CADUnicodeString& text, double* coefficients);

  // --- comparison
  // *equal = 1 when every coefficient of a lies within kTolerance of b's (the bounds count as equal), else 0;
  // a NaN coefficient on either side makes them unequal. E_FAIL for a null argument.
  static HRESULT Compare(const double* a, const double* b, int* equal);

  // 1 when all twelve coefficients are finite numbers (a position the host can be given).
  static int IsFinite(const double coefficients[12]);
};
