#include "ZRBNumberText.h"

#include <locale.h>
#include <cctype>
#include <charconv>
#include <clocale>
#include <cstdio>

namespace {

// The "C" locale for this thread only, for the duration of one call.
class ThreadCLocale {
 public:
  ThreadCLocale() {
    static thread_local locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    if (c) previous_ = uselocale(c);
  }
  ~ThreadCLocale() {
    if (previous_) uselocale(previous_);
  }
  ThreadCLocale(const ThreadCLocale&) = delete;
  ThreadCLocale& operator=(const ThreadCLocale&) = delete;

 private:
  locale_t previous_ = nullptr;
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ZRBNumberText::Scientific(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
  return std::string(buffer, result.ptr);
}

bool ZRBNumberText::IsDoubleFormat(std::string_view format) {
  int conversions = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (++i < format.size() && format[i] == '%') continue;
    while (i < format.size() && std::string_view("-+ #0").find(format[i]) != std::string_view::npos) ++i;
    for (int digits = 0; i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])); ++i)
      if (++digits > 2) return false;
    if (i < format.size() && format[i] == '.') {
      ++i;
      for (int digits = 0; i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])); ++i)
        if (++digits > 2) return false;
    }
    if (i < format.size() && format[i] == 'l') ++i;  // "%lf" means the same as "%f"
    if (i >= format.size() || std::string_view("eEfFgGaA").find(format[i]) == std::string_view::npos) return false;
    ++conversions;
  }
  return conversions == 1;
}

std::optional<std::string> ZRBNumberText::Formatted(std::string_view format, double value) {
  if (!IsDoubleFormat(format)) return std::nullopt;
  const std::string terminated(format);
  ThreadCLocale c;
  char small[128];
  const int length = std::snprintf(small, sizeof small, terminated.c_str(), value);
  if (length < 0) return std::nullopt;
  if (static_cast<std::size_t>(length) < sizeof small) return std::string(small, length);
  std::string large(static_cast<std::size_t>(length) + 1, '\0');
  std::snprintf(large.data(), large.size(), terminated.c_str(), value);
  large.resize(static_cast<std::size_t>(length));
  return large;
}

std::optional<double> ZRBNumberText::ParseDouble(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<int> ZRBNumberText::ParseInt(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}
