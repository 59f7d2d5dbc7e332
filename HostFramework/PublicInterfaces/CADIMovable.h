// Position of a product instance, relative to its father or to an ancestor.
#pragma once

#include "CADBaseUnknown.h"
#include "CADMathTransformation.h"

class CADIProduct;

class CADIMovable : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIMovable)

 public:
  // The instance's position in the coordinates of `context`: its father when
  // context is null or the father itself, else the composition of the
  // positions of every level between the context (an ancestor) and the
  // instance. E_FAIL when the product is not an instance or the context is no
  // ancestor of it. A root product sits at the identity.
  virtual HRESULT GetPosition(CADMathTransformation& position, CADIProduct* context = nullptr) const = 0;
  // Places the instance so that its position in `context` becomes `position`.
  // The position is stored in the father's reference: every occurrence of that
  // reference moves, and the document holding it becomes modified when the
  // stored position changes. E_FAIL for a root product, a context that is no
  // ancestor, or a context placement that cannot be inverted.
  virtual HRESULT SetPosition(const CADMathTransformation& position, CADIProduct* context = nullptr) = 0;
};

using CADIMovable_var = CADVar<CADIMovable>;
