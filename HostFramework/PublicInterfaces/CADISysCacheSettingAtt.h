// The host's cache setting controller as other applications see it: the list
// of released cache paths (shared directories of visualisation files). The
// component is created by name: "CADSysCacheSettingCtrl".
#pragma once

#include <memory>

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADISysCacheSettingAtt : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADISysCacheSettingAtt)

 public:
  // The paths in the host's order, as an array the caller owns and a count.
  virtual HRESULT GetReleaseCachePath(std::unique_ptr<CADUnicodeString[]>& paths, int& count) = 0;
  // Replaces the list for the session (the setting file is written by whoever
  // saves the settings: the "ReleaseCachePath" setting of "CADCache").
  // E_INVALIDARG for a negative count or a missing array.
  virtual HRESULT SetReleaseCachePath(const CADUnicodeString* paths, int count) = 0;
  // Whether the session checks the time stamps of cached files (1) or not (0); starts from the "TimeStamp"
  // setting of "CADCache". Setting it lasts for the session and leaves the setting file alone, so a session
  // that ends before switching it back does not change the user's setting. E_FAIL where not supported.
  virtual HRESULT GetTimeStampCheck(int& check) {
    check = 0;
    return E_FAIL;
  }
  virtual HRESULT SetTimeStampCheck(int check) {
    (void)check;
    return E_FAIL;
  }
};

using CADISysCacheSettingAtt_var = CADVar<CADISysCacheSettingAtt>;
