// Bounding boxes of parts (from their representations in a 3D window) and of product structures (the part
// boxes combined through the instance positions, in the product's coordinates). The command base forwards here.
#pragma once

#include "CADIProduct.h"
#include "CADMathBox.h"
#include "CADMathTransformation.h"

class CADFrmEditor;
class CADFrmWindow;

class ZRBProductBox {
 public:
  // Paths start at the root product of `editor`'s document (the window's editor when null). The window is
  // the given one or the current one. 1 when the box was computed (empty for a part without a point).
  static int GetPartBoundingBox(CADFrmEditor* editor, CADIProduct* product, CADMathBox* box, CADFrmWindow* window);
  // Widens `box` by the boxes of every part below `product`, each placed by transformation x its positions.
  // 1 on success; a part whose box fails stops the walk with 0.
  static int GetProductBoundingBox(CADFrmEditor* editor, const CADIProduct_var& product, CADMathBox& box,
                                   const CADMathTransformation& transformation, CADFrmWindow* window);
};
