// Where the model info takes a model's bounding box from. The default source knows no box, so no box slots
// are written until a real computation is installed.
#pragma once

#include "CADIProduct.h"

class CADDocument;
class CADFrmWindow;

// Process-wide choice of source; user-interface thread only.
class ZRBModelBoxSource {
 public:
  virtual ~ZRBModelBoxSource() = default;

  // True with the low and high corner when the box of `product` (in its document, seen in `window` when one
  // is given) is known.
  virtual bool GetBox(const CADIProduct_var& product, CADDocument* document, CADFrmWindow* window, double low[3],
                      double high[3]) = 0;

  // --- the installed source (not owned); Install(nullptr) restores the default, also the reset for tests
  static ZRBModelBoxSource& Current();
  static void Install(ZRBModelBoxSource* source);
};
