// The host's wall clock, in the shape of ftime(): seconds since 1970-01-01 UTC
// and milliseconds. Tests replace it to make time stamps predictable.
#pragma once

#include <cstdint>
#include <functional>

struct CADTimeB {
  std::uint64_t seconds = 0;
  unsigned short millis = 0;
};

class CADClock {
 public:
  using Source = std::function<CADTimeB()>;

  // ftime-equivalent: the override when one is set, else the system clock.
  static CADTimeB Now();
  // Replaces the clock (an empty function restores the system clock).
  static void SetOverride(Source source);
};
