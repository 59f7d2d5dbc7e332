// The factory extension of a component class: what CADInstantiateComponent
// asks for a new instance of the class.
#pragma once

#include "CADBaseUnknown.h"

class CADICreateInstance : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADICreateInstance)

 public:
  // Creates a new instance. On S_OK, *out holds it as a CADBaseUnknown*
  // carrying one reference for the caller; E_OUTOFMEMORY when it could not be
  // allocated.
  virtual HRESULT CreateInstance(void** out) = 0;
};
