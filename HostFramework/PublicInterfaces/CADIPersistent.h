// Persistence state of a document: whether it differs from its file.
#pragma once

#include "CADBaseUnknown.h"

class CADIPersistent : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIPersistent)

 public:
  // Non-zero when the document was changed since it was opened or saved; the
  // low byte is the flag callers test.
  virtual unsigned int IsDirty() const = 0;
  // Marks the document modified (non-zero) or in step with its file (zero).
  virtual void SetDirty(int dirty) = 0;
};

using CADIPersistent_var = CADVar<CADIPersistent>;
