// The factory extension of the module-communication component: how CADInstantiateComponent("ZRBModComm")
// makes a new instance. Registered under the class name "ZRBModComm" while the module is loaded.
#pragma once

#include "CADICreateInstance.h"

class ZRBEModComm : public CADICreateInstance {
 public:
  // A new ZRBModComm as a CADBaseUnknown* with one reference for the caller; E_OUTOFMEMORY when it could not
  // be allocated.
  HRESULT CreateInstance(void** out) override;

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADICreateInstance, CADBaseUnknown>(this, iid, out);
  }
};
