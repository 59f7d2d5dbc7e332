// Names a product node by its way from the root of its structure: as text of
// instance names (the key of path-to-root properties), as text of part
// numbers, and as a host path element for selecting the node. The command
// base forwards its path-string members here.
#pragma once

#include "CADIProduct.h"
#include "CADPathElement.h"
#include "CADUnicodeString.h"

class ZRBProductPathUtil {
 public:
  // Appends "/" and the instance name of every node from the root down to
  // the product ("/Root.1/Sub.1/Part.2"). A null product leaves `path` alone.
  static void GetPathToRootForProduct(const CADIProduct_var& product, CADUnicodeString& path);
  // The same walk with the part numbers ("/ASM/SUB/PART").
  static void GetFullPathNameForProduct(const CADIProduct_var& product, CADUnicodeString& path);
  // Appends the products from the root down to the product, root first.
  static void GetCADPathElementFromRoot(const CADIProduct_var& product, CADPathElement& path);
};
