// The attributes a read gives a structure node's product from the node's answer object: descriptions, custom
// attributes and the node's PDM identity.
#pragma once

#include "CADIProduct.h"

class ZRBObject;
class ZRBObjectManager;

// Static; user-interface thread only (it writes through the property manager).
class ZRBNodeAttributes {
 public:
  // "REFERENCE_DESCRIPTION", when not empty, becomes the description of the node's reference (the host keeps no
  // description of its own per instance, so "INSTANCE_DESCRIPTION" has nowhere to go). 1 done, 0 null argument.
  static int SetDescriptionsToNode(const CADIProduct_var& product, const ZRBObject* node);
  // "CUSTOM_ATTRS" and "CUSTOM_VALS" become the reference properties "ZRB_CUSTOM_ATTRS" and "ZRB_CUSTOM_VALS"
  // (their list texts as they stand), when present and of the same length. 1 done, 0 otherwise.
  static int SetCustomAttrsToNode(const CADIProduct_var& product, const ZRBObject* node);
  // Reference properties "ZRB_OBID" from "OBID", "ZRB_PRODUCT_OBID" from the "OBID" of the object the node's
  // "PRODUCT" names, and "ZRB_PRODUCT_IGNORE_AT_UPDATE" "1" when the node asks for it. Nodes without "OBID" (the
  // answer's root) are left alone.
  static void SetIdentityToNode(const CADIProduct_var& product, const ZRBObject* node, ZRBObjectManager& answer);
};
