#include "ZRBPosMatrixUtil.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace {

constexpr int kCoefficientCount = 12;
constexpr int kTextNumberCount = 16;
constexpr int kSignificantDigits = 16;

// std::to_chars never looks at the locale, so a comma-decimal locale set by the host or by another thread
// cannot leak into the stored text. Its general format matches "%.16g", except that the non-finite values are
// spelled as printf spells them.
void AppendNumber(std::string& out, double value) {
  char buffer[64];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kSignificantDigits);
  if (error != std::errc()) {
    out += "nan";
    return;
  }
  out.append(buffer, end);
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// One number at `pos` after optional blanks; it must end at a blank or at the end of the text, so that "1,5"
// is refused instead of being read as 1.
bool ReadNumber(std::string_view text, std::size_t& pos, double& value) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  if (pos >= text.size()) return false;
  std::size_t start = pos;
  bool negative = false;
  if (text[start] == '+' || text[start] == '-') {
    negative = text[start] == '-';
    ++start;
    // from_chars takes a minus sign itself but no plus; a doubled sign is no number.
    if (start < text.size() && (text[start] == '+' || text[start] == '-')) return false;
  }
  double parsed = 0.0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(first, last, parsed, std::chars_format::general);
  if (error == std::errc::invalid_argument || end == first) return false;
  // An out-of-range number is not a position anybody placed.
  if (error == std::errc::result_out_of_range) return false;
  if (end != last && !IsBlank(*end)) return false;
  value = negative ? -parsed : parsed;
  pos = static_cast<std::size_t>(end - text.data());
  return true;
}

}  // namespace

HRESULT ZRBPosMatrixUtil::ConvertToString(const double coefficients[12], CADUnicodeString& text) {
  text = "";
  if (!coefficients) return E_FAIL;
  std::string out;
  out.reserve(kTextNumberCount * 24);
  for (int i = 0; i < kCoefficientCount; ++i) {
    AppendNumber(out, coefficients[i]);
    out += ' ';
    if (i % 3 == 2) out += (i == kCoefficientCount - 1) ? "1" : "0 ";
  }
  text = CADUnicodeString(out);
  return S_OK;
}

HRESULT ZRBPosMatrixUtil::ConvertToMatrix(const CADUnicodeString& text, double* coefficients) {
  if (!coefficients) return E_FAIL;
  const std::string_view view = text.view();
  double read[kCoefficientCount] = {};
  std::size_t pos = 0;
  int kept = 0;
  for (int n = 0; n < kTextNumberCount; ++n) {
    double value = 0.0;
    if (!ReadNumber(view, pos, value)) return E_FAIL;
    if (n % 4 != 3) read[kept++] = value;
  }
  while (pos < view.size() && IsBlank(view[pos])) ++pos;
  if (pos != view.size()) return E_FAIL;
  for (int i = 0; i < kCoefficientCount; ++i) coefficients[i] = read[i];
  return S_OK;
}

HRESULT ZRBPosMatrixUtil::Compare(const double* a, const double* b, int* equal) {
  if (!equal) return E_FAIL;
  *equal = 0;
  if (!a || !b) return E_FAIL;
  *equal = 1;
  for (int i = 0; i < kCoefficientCount; ++i) {
    // Written so that a NaN on either side fails the test: a corrupt stored position must not make a moved
    // instance look unmoved.
    const bool within = a[i] <= b[i] + kTolerance && a[i] >= b[i] - kTolerance;
    if (!within) {
      *equal = 0;
      break;
    }
  }
  return S_OK;
}

int ZRBPosMatrixUtil::IsFinite(const double coefficients[12]) {
  if (!coefficients) return 0;
  for (int i = 0; i < kCoefficientCount; ++i)
    if (!std::isfinite(coefficients[i])) return 0;
  return 1;
}
