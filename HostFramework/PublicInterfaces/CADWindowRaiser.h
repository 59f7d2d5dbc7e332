// Raises a top-level window of the X display, found by the beginning of its name or by its class name.
#pragma once

#include <functional>
#include <string_view>

// Without a display it does nothing; an X error (a window vanishing mid-search, a lost connection) never ends the
// process. Callers pass a log to see the steps ("Match: Window name: ..."). One caller at a time.
class CADWindowRaiser {
 public:
  enum class Result { NoDisplay, NotFound, Raised };
  using Log = std::function<void(std::string_view line)>;

  static Result RaiseByNamePrefix(std::string_view namePrefix, const Log& log = {});
  static Result RaiseByClassName(std::string_view className, const Log& log = {});

  // The display name used: DISPLAY, ":0" when it is empty; false when it is not set.
  static bool GetDisplayName(std::string& name, const Log& log = {});
};
