// Link from a product to the document that holds its reference.
#pragma once

#include "CADBaseUnknown.h"

class CADDocument;

class CADILinkableObject : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADILinkableObject)

 public:
  // The document that holds the product's reference (the parent's document for
  // an embedded component), or null when the reference is not loaded. The
  // session keeps the document; the caller adds a reference to keep it longer.
  virtual CADDocument* GetDocument() const = 0;
};

using CADILinkableObject_var = CADVar<CADILinkableObject>;
