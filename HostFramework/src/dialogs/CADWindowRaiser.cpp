#include "CADWindowRaiser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Active only while a search runs; Xlib's handlers are global, so they are swapped in and out around it.
struct XGuard {
  std::jmp_buf ioEscape;
  bool ioEscapeArmed = false;
  int errors = 0;
};
XGuard* g_guard = nullptr;

int CountXError(Display*, XErrorEvent*) {
  if (g_guard) ++g_guard->errors;
  return 0;
}

// Xlib ends the process when an I/O error handler returns; leave the search instead.
int EscapeXIOError(Display*) {
  if (g_guard && g_guard->ioEscapeArmed) std::longjmp(g_guard->ioEscape, 1);
  return 0;
}

struct Query {
  std::string_view namePrefix;
  std::string_view className;
  const CADWindowRaiser::Log* log;
};

void Say(const Query& q, const std::string& line) {
  if (q.log && *q.log) (*q.log)(line);
}

// Only plain buffers live here while Xlib runs: an I/O error jumps out across this frame.
bool MatchesWindow(Display* display, Window window, const Query& q, bool& named) {
  named = false;
  XTextProperty text{};
  if (!XGetWMName(display, window, &text)) return false;
  named = text.value != nullptr;
  char name[512] = {0};
  if (text.value) {
    std::strncpy(name, reinterpret_cast<const char*>(text.value), std::min<size_t>(text.nitems, sizeof name - 1));
    XFree(text.value);
  }
  if (!named) return false;
  if (!q.namePrefix.empty() && std::string_view(name).starts_with(q.namePrefix)) {
    Say(q, std::string("Match: Window name: ") + name);
    return true;
  }
  if (q.className.empty()) return false;
  XClassHint hint{};
  if (!XGetClassHint(display, window, &hint)) return false;
  bool match = hint.res_class && q.className == hint.res_class;
  if (match) Say(q, std::string("Match: CLASS-Name: ") + hint.res_class);
  if (hint.res_name) XFree(hint.res_name);
  if (hint.res_class) XFree(hint.res_class);
  return match;
}

// The first window below (and including) `window` that has a name, depth first from the top of the stacking
// order; 0 when none. `found` is set when that window matches.
Window FirstNamed(Display* display, Window window, const Query& q, bool& found, int depth) {
  bool named = false;
  found = MatchesWindow(display, window, q, named);
  if (named) return window;
  if (depth > 64) return 0;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
  Window result = 0;
  for (unsigned int i = count; i-- > 0 && !result;) result = FirstNamed(display, children[i], q, found, depth + 1);
  if (children) XFree(children);
  return result;
}

Window FindWindow(Display* display, const Query& q) {
  Window rootWindow = DefaultRootWindow(display);
  if (!rootWindow) {
    Say(q, "DefaultRootWindow failed");
    return 0;
  }
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (!XQueryTree(display, rootWindow, &root, &parent, &children, &count)) return 0;
  Window match = 0;
  for (unsigned int i = count; i-- > 0 && !match;) {
    bool found = false;
    Window named = FirstNamed(display, children[i], q, found, 0);
    if (named && found) match = named;
  }
  if (children) XFree(children);
  return match;
}

void Raise(Display* display, Window window) {
  XWindowChanges changes{};
  changes.stack_mode = TopIf;
  XConfigureWindow(display, window, CWStackMode, &changes);
  XSelectInput(display, window, StructureNotifyMask);
  XFlush(display);
  XSelectInput(display, window, 0);
  XFlush(display);
  XSync(display, False);  // collect errors of a window that vanished before the handlers go back
}

// No locals with destructors live across setjmp here: the escape jumps back into this frame.
CADWindowRaiser::Result Run(Display* display, const Query& q, XGuard& guard) {
  Window window = 0;
  if (setjmp(guard.ioEscape) == 0) {
    guard.ioEscapeArmed = true;
    window = FindWindow(display, q);
    if (window) Raise(display, window);
    guard.ioEscapeArmed = false;
  } else {
    guard.ioEscapeArmed = false;
    Say(q, "X connection lost");
    return CADWindowRaiser::Result::NoDisplay;
  }
  return window ? CADWindowRaiser::Result::Raised : CADWindowRaiser::Result::NotFound;
}

CADWindowRaiser::Result Search(const Query& q) {
  std::string displayName;
  if (!CADWindowRaiser::GetDisplayName(displayName, *q.log)) return CADWindowRaiser::Result::NoDisplay;
  Display* display = XOpenDisplay(displayName.c_str());
  if (!display) {
    Say(q, "XOpenDisplay failed");
    return CADWindowRaiser::Result::NoDisplay;
  }
  XGuard guard;
  XGuard* outer = g_guard;
  g_guard = &guard;
  XErrorHandler oldError = XSetErrorHandler(CountXError);
  XIOErrorHandler oldIO = XSetIOErrorHandler(EscapeXIOError);
  CADWindowRaiser::Result result = Run(display, q, guard);
  bool connectionLost = result == CADWindowRaiser::Result::NoDisplay;
  if (!connectionLost) XCloseDisplay(display);  // after a lost connection the display cannot be closed safely
  XSetIOErrorHandler(oldIO);
  XSetErrorHandler(oldError);
  g_guard = outer;
  if (guard.errors) Say(q, "X errors ignored: " + std::to_string(guard.errors));
  return result;
}

}  // namespace

bool CADWindowRaiser::GetDisplayName(std::string& name, const Log& log) {
  const char* value = std::getenv("DISPLAY");
  if (!value) {
    if (log) log("failed to get DISPLAY");
    return false;
  }
  name = value;
  if (name.empty()) {
    name = ":0";
    if (log) log("using default DISPLAY: " + name);
  }
  return true;
}

CADWindowRaiser::Result CADWindowRaiser::RaiseByNamePrefix(std::string_view namePrefix, const Log& log) {
  if (namePrefix.empty()) return Result::NotFound;
  return Search(Query{namePrefix, {}, &log});
}

CADWindowRaiser::Result CADWindowRaiser::RaiseByClassName(std::string_view className, const Log& log) {
  if (className.empty()) return Result::NotFound;
  return Search(Query{{}, className, &log});
}
