// The model-info object of a request: what the PDM learns about a part, product or drawing beyond its
// attributes (bounding box, category, check seals, up-to-date state, pointed documents, design tables, sheets).
// Each group is written only when its configuration switch is "ON".
#pragma once

#include "CADIDrawing.h"
#include "CADIProduct.h"

class CADDocument;
class CADFrmWindow;
class ZRBObject;
class ZRBObjectManager;

// Stateless; user-interface thread.
class ZRBModelInfoTransfer {
 public:
  // 1 success, 0 for a missing argument.
  static int ForProduct(ZRBObjectManager& manager, const CADIProduct_var& product, ZRBObject* model,
                        CADDocument* document, CADFrmWindow* window);
  // No object is made when no drawing switch is on (still 1).
  static int ForDrawing(ZRBObjectManager& manager, const CADIDrawing_var& drawing, ZRBObject* model,
                        CADDocument* document);
};
