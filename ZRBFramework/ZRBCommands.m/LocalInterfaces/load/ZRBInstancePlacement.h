// What a relation of the answer gives the instance it leads to: its name, its PDM relation properties and its
// position in the parent.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBPropertyInstance;
class ZRBReadContext;

// Static; user-interface thread only.
class ZRBInstancePlacement {
 public:
  // The direct child of `parent` with that instance name, or null.
  static CADIProduct_var FindChild(const CADIProduct_var& parent, const CADUnicodeString& instanceName);
  // Gives a new instance the relation's name; a name a sibling already has leaves the host's name (traced).
  static void NameInstance(const CADIProduct_var& child, const CADUnicodeString& instanceName);
  // Instance properties of the child within the parent from the relation and the child's node object, then
  // the position from "MATRIX". A missing, malformed, non-finite or degenerate matrix leaves the instance where
  // it stands, with an error line and the warning state.
  static void Apply(ZRBReadContext& context, const CADIProduct_var& parent, const CADIProduct_var& child,
                    const ZRBObject& relation, const ZRBObject* node);
  // Marks the instance as one the PDM has, under that relation (documents listed at an assembly have none).
  static void MarkInstanceInPdm(ZRBPropertyInstance& record, const CADUnicodeString& relationKey);
  // 1 when `text` is sixteen numbers giving a finite, non-degenerate position (filled into coefficients).
  static int ReadPosition(const CADUnicodeString& text, double coefficients[12]);
};
