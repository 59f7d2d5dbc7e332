// Modification dates as the PDM hands them to the CAD side: always exactly 23
// characters, "YYYY-MM-DD hh:mm:ss.fff", UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pdmsim {

class GmtTime {
 public:
  static constexpr std::size_t kLength = 23;
  // The CAD side compares only this many characters (to the second).
  static constexpr std::size_t kComparedLength = 19;

  // Now, or the fixed instant in "PDMSIM_NOW" (same format) for reproducible runs.
  static std::string Now();
  // A date for a change made now that the CAD side can tell from `previous`:
  // when now falls in the same second (or earlier), the next second is taken.
  static std::string NextAfter(std::string_view previous);

  static std::string Format(std::int64_t millisecondsSinceEpoch);
  static std::optional<std::int64_t> Parse(std::string_view text);
  static bool SameSecond(std::string_view a, std::string_view b);
};

}  // namespace pdmsim
