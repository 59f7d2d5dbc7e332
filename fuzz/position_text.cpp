// Feeds arbitrary bytes to the position text reader: a text it accepts must be written back and read again to
// the same coefficients within the sixteen digits written (NaN for NaN, infinity for infinity), and the comparison
// must call a position equal to itself exactly when no coefficient is NaN.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ZRBPosMatrixUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  double coefficients[12];
  if (FAILED(ZRBPosMatrixUtil::ConvertToMatrix(CADUnicodeString(input), coefficients))) return 0;
  CADUnicodeString text;
  ZRBPosMatrixUtil::ConvertToString(coefficients, text);
  double again[12];
  if (FAILED(ZRBPosMatrixUtil::ConvertToMatrix(text, again))) std::abort();
  for (int i = 0; i < 12; ++i) {
    if (std::isnan(coefficients[i]) != std::isnan(again[i])) std::abort();
    if (std::isnan(coefficients[i]) || coefficients[i] == again[i]) continue;
    if (std::isinf(coefficients[i]) || std::isinf(again[i])) std::abort();
    if (std::fabs(coefficients[i] - again[i]) > 1e-15 * std::fabs(coefficients[i])) std::abort();
  }
  int equal = -1;
  ZRBPosMatrixUtil::Compare(coefficients, coefficients, &equal);
  // Infinity equals itself (inf <= inf + tolerance); NaN never does.
  bool anyNan = false;
  for (double c : coefficients) anyNan = anyNan || std::isnan(c);
  if (equal != (anyNan ? 0 : 1)) std::abort();
  return 0;
}
