#include "ZRBCacheVisName.h"

#include <cctype>

namespace {
constexpr std::string_view kExtension = ".vis";
// ".YYYY-MM-DD-HH.MM.SS" with D for a digit.
constexpr std::string_view kStampPattern = ".DDDD-DD-DD-DD.DD.DD";
}  // namespace

int ZRBCacheVisName::HasTimeStamp(std::string_view name) {
  const std::size_t suffix = kStampPattern.size() + kExtension.size();
  if (name.size() <= suffix || !name.ends_with(kExtension)) return 0;
  const std::string_view stamp = name.substr(name.size() - suffix, kStampPattern.size());
  for (std::size_t i = 0; i < kStampPattern.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(stamp[i])) != 0;
    if (kStampPattern[i] == 'D' ? !digit : stamp[i] != kStampPattern[i]) return 0;
  }
  return 1;
}

CADUnicodeString ZRBCacheVisName::BaseName(const CADUnicodeString& name, int stamped) {
  const std::string_view text = name.view();
  if (!text.ends_with(kExtension)) return name;
  std::size_t cut = kExtension.size();
  if (stamped && HasTimeStamp(text)) cut += kStampPattern.size();
  return CADUnicodeString(text.substr(0, text.size() - cut));
}
