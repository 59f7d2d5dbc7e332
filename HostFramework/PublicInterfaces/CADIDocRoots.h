// The root objects of a document: the root product of a part or product
// document (and of a representation document); none for drawings.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListValCADBaseUnknown.h"

class CADIDocRoots : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIDocRoots)

 public:
  // The roots, first the root product; an empty list for documents without one.
  virtual CADListValCADBaseUnknown_var GiveDocRoots() const = 0;
};

using CADIDocRoots_var = CADVar<CADIDocRoots>;
