#include "CADClock.h"

#include <chrono>
#include <mutex>

namespace {
std::mutex& SourceMutex() {
  static std::mutex m;
  return m;
}
CADClock::Source& Override() {
  static CADClock::Source source;
  return source;
}
}  // namespace

CADTimeB CADClock::Now() {
  {
    std::lock_guard<std::mutex> lock(SourceMutex());
    if (Override()) return Override()();
  }
  auto now = std::chrono::system_clock::now().time_since_epoch();
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  CADTimeB t;
  t.seconds = static_cast<std::uint64_t>(ms / 1000);
  t.millis = static_cast<unsigned short>(ms % 1000);
  return t;
}

void CADClock::SetOverride(Source source) {
  std::lock_guard<std::mutex> lock(SourceMutex());
  Override() = std::move(source);
}
