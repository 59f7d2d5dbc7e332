// The session's state behind the cache setting controller component
// ("CADSysCacheSettingCtrl"): the released cache paths, read once from the
// "ReleaseCachePath" setting of "CADCache" and changed in memory after that.
// User-interface thread only.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADSysCacheSettingCtrl {
 public:
  static CADListValCADUnicodeString GetReleaseCachePaths();
  static void SetReleaseCachePaths(const CADListValCADUnicodeString& paths);
  // The session's time-stamp check of cached files (see CADISysCacheSettingAtt).
  static int GetTimeStampCheck();
  static void SetTimeStampCheck(int check);
  // Tests: the controller cannot be created (as on a host without one).
  static void SetUnavailable(bool unavailable);
  // Tests: forget the paths and the time-stamp check (read from the settings again on next use) and make the
  // controller available.
  static void Reset();
};
