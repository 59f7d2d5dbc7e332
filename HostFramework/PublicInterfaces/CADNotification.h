// A notification passed to a command's Activate, Desactivate and Cancel: what
// happened, and who sent it. Commands that do not care are passed none.
#pragma once

#include "CADBaseUnknown.h"
#include "CADString.h"

class CADNotification : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADNotification)

 public:
  explicit CADNotification(CADString name = "CADNotification") : name_(std::move(name)) {}

  const CADString& GetName() const { return name_; }

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADNotification, CADBaseUnknown>(this, iid, out);
  }

 private:
  CADString name_;
};
