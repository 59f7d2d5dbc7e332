// What a document points at, as file names: every file its links name,
// whatever the kind of link.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListVal.h"

class CADIPointedSymbols : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIPointedSymbols)

 public:
  // Appends the full path of each pointed file, in link order.
  virtual HRESULT GetPointedFileNames(CADListValCADUnicodeString& names) = 0;
};

using CADIPointedSymbols_var = CADVar<CADIPointedSymbols>;
