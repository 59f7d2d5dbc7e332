// Positions of product instances in their parents: reading and moving them, writing them into a save request,
// and the modified state a move gives the document that stores the position.
#pragma once

#include "CADIProduct.h"

class ZRBCommandContext;
class ZRBObject;

// Stateless; user-interface thread only. Results: 1 success, 0 failure.
class ZRBProductPositions {
 public:
  // The child's twelve position coefficients in the parent's coordinates.
  static int GetProductPosition(const CADIProduct_var& child, const CADIProduct_var& parent, double coefficients[12]);
  // Puts the child at `coefficients` unless it already stands there within the tolerance; a move marks the
  // document of the child's father (which stores the position) modified. Non-finite coefficients are refused.
  static int MoveProduct(const CADIProduct_var& child, const CADIProduct_var& parent, const double coefficients[12]);
  // Writes the child's position ("MATRIX", "UNIT") into a save request and asks the PDM to store it when it
  // moved since the PDM last knew it; a write-protected position adds a warning to the context.
  static int SetProductTrafoToZRBObject(ZRBCommandContext& context, ZRBObject* object, const CADIProduct_var& child,
                                        const CADIProduct_var& parent);
  // For the save's answer: the position update of this instance did not succeed, so it must be sent again.
  static void KeepPositionToSend(const CADIProduct_var& parent, const CADIProduct_var& child);
};
