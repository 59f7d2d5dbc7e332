#include "ZRBTrace.h"

#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>

#include "CADClock.h"
#include "CADUnicodeString.h"
#include "ZRBConfigTopicManager.h"

namespace {
// One lock for every line: the PDM worker thread writes debug lines too, and
// each line must reach the stream in one piece.
std::mutex& OutputMutex() {
  static std::mutex m;
  return m;
}
// Guarded by OutputMutex(); null means standard output.
std::ostream*& Stream() {
  static std::ostream* stream = nullptr;
  return stream;
}
// "ZRB: [" seconds " " milliseconds "]": both numbers as the host formats
// them, milliseconds without zero padding.
std::string StampPrefix() {
  CADTimeB now = CADClock::Now();
  CADUnicodeString seconds = CADUnicodeString::BuildFromNum("%lu", static_cast<unsigned long>(now.seconds));
  CADUnicodeString millis = CADUnicodeString::BuildFromNum("%hu", now.millis);
  return "ZRB: [" + seconds.ConvertToString().str() + " " + millis.ConvertToString().str() + "]";
}
}  // namespace

bool ZRBTrace::IsOn() { return g_ZRBConfig.GetDebug() != 0; }

void ZRBTrace::WriteLine(std::string_view line) {
  std::string whole;
  whole.reserve(line.size() + 1);
  whole.append(line);
  whole += '\n';
  Write(whole);
}

void ZRBTrace::Write(std::string_view text) {
  std::lock_guard<std::mutex> lock(OutputMutex());
  std::ostream& out = Stream() ? *Stream() : std::cout;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
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
  {
    std::lock_guard<std::mutex> lock(OutputMutex());
    Stream() = stream;
  }
  // The configuration service's own lines belong to the same channel.
  g_ZRBConfig.SetDiagnosticStream(stream);
}

ZRBTracer::ZRBTracer(const char* qualifiedName) : name_(qualifiedName) {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine(StampPrefix() + " " + name_ + " start ");
}

ZRBTracer::~ZRBTracer() {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine(StampPrefix() + "  " + name_ + (ok_ ? " end OK" : " end   "));
}
