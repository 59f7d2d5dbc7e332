// Automation view of the host application, as the application frame hands
// it out: the directory of the host's local cache.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADAutoApplication : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADAutoApplication)

 public:
  // Makes the host use the directory as its local cache and read it afresh
  // (setting the same directory again resets the cache). E_FAIL for "".
  virtual HRESULT put_LocalCache(const CADUnicodeString& directory) = 0;
  virtual HRESULT get_LocalCache(CADUnicodeString& directory) = 0;
};

using CADAutoApplication_var = CADVar<CADAutoApplication>;
