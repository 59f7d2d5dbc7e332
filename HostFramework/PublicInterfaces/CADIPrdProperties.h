// The standard descriptive attributes of a product reference.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIPrdProperties : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIPrdProperties)

 public:
  // Getters fail (E_FAIL) only for a product whose reference is not loaded.
  // Setters change the reference (shared by all its instances) and mark its
  // document modified when the value changes.
  virtual HRESULT GetNomenclature(CADUnicodeString& value) const = 0;
  virtual HRESULT SetNomenclature(const CADUnicodeString& value) = 0;
  virtual HRESULT GetRevision(CADUnicodeString& value) const = 0;
  virtual HRESULT SetRevision(const CADUnicodeString& value) = 0;
  virtual HRESULT GetDefinition(CADUnicodeString& value) const = 0;
  virtual HRESULT SetDefinition(const CADUnicodeString& value) = 0;
  virtual HRESULT GetDescription(CADUnicodeString& value) const = 0;
  virtual HRESULT SetDescription(const CADUnicodeString& value) = 0;
};

using CADIPrdProperties_var = CADVar<CADIPrdProperties>;
