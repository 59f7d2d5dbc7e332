#include "ZRBTrace.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <string>

#include "CADClock.h"
#include "CADUnicodeString.h"

// TEMPORARY switch until the configuration service provides g_ZRBConfig.
namespace {
std::mutex& OutputMutex() {
  static std::mutex m;
  return m;
}
std::ostream*& Stream() {
  static std::ostream* stream = nullptr;
  return stream;
}
std::string StampPrefix() {
  CADTimeB now = CADClock::Now();
  CADUnicodeString seconds = CADUnicodeString::BuildFromNum("%lu", static_cast<unsigned long>(now.seconds));
  CADUnicodeString millis = CADUnicodeString::BuildFromNum("%hu", now.millis);
  return "ZRB: [" + seconds.str() + " " + millis.str() + "]";
}
}  // namespace

bool ZRBTrace::IsOn() {
  const char* v = std::getenv("ZRB_DEBUG");
  return v && (std::string(v) == "ON" || std::atoi(v) != 0);
}

void ZRBTrace::WriteLine(std::string_view line) {
  std::string whole(line);
  whole += '\n';
  std::lock_guard<std::mutex> lock(OutputMutex());
  std::ostream& out = Stream() ? *Stream() : std::cout;
  out << whole;
  out.flush();
}

void ZRBTrace::DebugLine(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = cadhost::VFormatString(format, args);
  va_end(args);
  WriteLine(text);
}

void ZRBTrace::SetStream(std::ostream* stream) {
  std::lock_guard<std::mutex> lock(OutputMutex());
  Stream() = stream;
}

ZRBTracer::ZRBTracer(const char* qualifiedName) : name_(qualifiedName), active_(ZRBTrace::IsOn()) {
  if (active_) ZRBTrace::WriteLine(StampPrefix() + " " + name_ + " start ");
}

ZRBTracer::~ZRBTracer() {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine(StampPrefix() + "  " + name_ + (ok_ ? " end OK" : " end   "));
}
