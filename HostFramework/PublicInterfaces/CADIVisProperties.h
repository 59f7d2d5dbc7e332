// Whether a product instance is shown or hidden in the host's display. The attribute belongs to the instance
// (its father's reference keeps it), lives with the session and is not stored in the files.
#pragma once

#include "CADBaseUnknown.h"

enum class CADShowAttr { Show, NoShow };

class CADIVisProperties : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIVisProperties)

 public:
  // E_FAIL for a reference (a root has no instance) or a node no longer in its father.
  virtual HRESULT GetShowAttr(CADShowAttr& show) const = 0;
  virtual HRESULT SetShowAttr(CADShowAttr show) = 0;
};

using CADIVisProperties_var = CADVar<CADIVisProperties>;
