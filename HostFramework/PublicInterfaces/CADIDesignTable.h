// One design table of a part, product or drawing: a named, optionally
// aliased link to a sheet file (an "xls" or "txt" file the host does not
// interpret) that may be activated or not.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIDesignTable : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIDesignTable)

 public:
  // Every setter marks the owning document modified when the value changes,
  // and fails (E_FAIL) once the table was removed from its owner.
  virtual HRESULT GetName(CADUnicodeString& name) const = 0;
  virtual HRESULT SetName(const CADUnicodeString& name) = 0;
  // The alias ("" when none) that the feature shows instead of its name.
  virtual HRESULT GetAlias(CADUnicodeString& alias) const = 0;
  virtual HRESULT SetAlias(const CADUnicodeString& alias) = 0;
  virtual HRESULT IsActivated(CADBoolean& active) const = 0;
  virtual HRESULT SetActivated(CADBoolean active) = 0;
  // Full path of the sheet file; never resolved or read by the host.
  virtual HRESULT GetSheetPath(CADUnicodeString& path) const = 0;
  virtual HRESULT SetSheetPath(const CADUnicodeString& path) = 0;
};

using CADIDesignTable_var = CADVar<CADIDesignTable>;
