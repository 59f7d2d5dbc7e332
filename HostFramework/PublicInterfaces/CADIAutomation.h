// Dispatch by method name: how the session's automation bridge calls a
// component that the PDM side drives from outside the process. The host never
// sees the component's own interface, only this one.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListVal.h"
#include "CADString.h"

class CADIAutomation : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIAutomation)

 public:
  // Performs `method` with its text arguments; `result` receives the
  // operation's own int. S_OK when the method exists and ran (whatever its
  // int says), E_INVALIDARG for arguments it cannot use, E_FAIL for an unknown
  // method. Called on the session thread only.
  virtual HRESULT Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) = 0;
};
