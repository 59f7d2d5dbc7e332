// Marks what a node's "SENDING_LIST" names: the node's products as sending products, and the listed objects'
// files with their PDM identity as sending objects (read-only).
#pragma once

#include "CADIProduct.h"

class ZRBObject;
class ZRBReadContext;

// Static; user-interface thread only.
class ZRBSendingObjectWriter {
 public:
  // Nothing happens for an empty list; keys that name no object are skipped with a trace.
  static void Apply(ZRBReadContext& context, const CADIProduct_var& product, const ZRBObject& node);
};
