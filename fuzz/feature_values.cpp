// Fuzzes the texts of feature extensions and document names that come from outside: attribute formats from
// the configuration file (they reach printf only when they hold one floating-point conversion), attribute
// values and relative document paths from the PDM. Input: format, line feed, value text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>

#include "ZRBDocPropertyTransfer.h"
#include "ZRBFeatureExtensionTransfer.h"
#include "ZRBNumberText.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string format(input.substr(0, split));
  const std::string text(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

  if (ZRBNumberText::IsDoubleFormat(format)) {
    for (double v :
         {0.0, -0.0, 1e308, -1e-308, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()})
      Check(ZRBNumberText::Formatted(format, v).has_value());
  } else {
    Check(!ZRBNumberText::Formatted(format, 1.5).has_value());
  }

  for (CADAttrType type :
       {CADAttrType::Double, CADAttrType::Boolean, CADAttrType::String, CADAttrType::Integer, CADAttrType::Octet}) {
    const auto value = ZRBFeatureExtensionTransfer::Decode(type, text);
    if (!value) continue;
    // What was read must write and read back as the same value.
    const std::string again =
        type == CADAttrType::Double && std::holds_alternative<double>(*value)
            ? ZRBNumberText::Scientific(std::get<double>(*value))
            : ZRBFeatureExtensionTransfer::Encode(type, *value, type == CADAttrType::Integer ? "%d" : "")
                  .value_or("\x01");
    const auto back = ZRBFeatureExtensionTransfer::Decode(type, again);
    Check(back.has_value());
    if (const double* d = std::get_if<double>(&*value); d && std::isnan(*d)) continue;
    Check(*back == *value);
  }

  if (ZRBDocPropertyTransfer::StaysInsideExchangeMap(text)) {
    const std::string joined = (std::filesystem::path("/xmap") / text).lexically_normal().string();
    Check(joined.rfind("/xmap/", 0) == 0 && joined.size() > 6);
  }
  return 0;
}
