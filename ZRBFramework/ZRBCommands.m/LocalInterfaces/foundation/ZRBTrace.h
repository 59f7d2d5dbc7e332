// The module's one diagnostic channel: time-stamped method entry/exit lines
// and free debug lines on standard output, written only while the debug
// switch is on.
//
//   HRESULT ZRBFoo::Bar() {
//     ZRB_TRACE("ZRBFoo::Bar");      // "ZRB: [s ms] ZRBFoo::Bar start "
//     if (bad) return E_FAIL;        // "ZRB: [s ms]  ZRBFoo::Bar end   "
//     ZRB_TRACE_OK();                // marks the successful path
//     return S_OK;                   // "ZRB: [s ms]  ZRBFoo::Bar end OK"
//   }
//   ZRB_DEBUG("ZRB: file %s not found", path.c_str());  // no cost when off
#pragma once

#include <ostream>
#include <string_view>

// Thread use: every member may be called from any thread; the output stream
// is guarded by one lock.
class ZRBTrace {
 public:
  // The switch, tested afresh before every line.
  static bool IsOn();
  // Writes one whole line (a line feed is appended) under the output lock.
  static void WriteLine(std::string_view line);
  // Writes text as it is (no line feed), for the rare output that continues
  // on the next line.
  static void Write(std::string_view text);
  // printf-style debug line; callers go through ZRB_DEBUG, which tests the
  // switch before any text is built.
  static void DebugLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
  // Redirects the output (tests); nullptr restores standard output.
  static void SetStream(std::ostream* stream);
};

// RAII method tracer: entry line on construction, exit line on destruction.
class ZRBTracer {
 public:
  explicit ZRBTracer(const char* qualifiedName);
  ~ZRBTracer();
  ZRBTracer(const ZRBTracer&) = delete;
  ZRBTracer& operator=(const ZRBTracer&) = delete;
  // The exit line of this call says " end OK".
  void SetOK() { ok_ = true; }

 private:
  const char* name_;  // a literal: lives as long as the program
  bool ok_ = false;
};

#define ZRB_TRACE(qualifiedName) ZRBTracer zrbMethodTracer_(qualifiedName)
#define ZRB_TRACE_OK() zrbMethodTracer_.SetOK()
#define ZRB_DEBUG(...)                                      \
  do {                                                      \
    if (ZRBTrace::IsOn()) ZRBTrace::DebugLine(__VA_ARGS__); \
  } while (0)
