// Reads the product a relation of the answer leads to when that product has a structure of its own: an
// assembly with its product document, or an embedded component held by its parent's document.
#pragma once

#include "CADIProduct.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBObject;
class ZRBProd;
class ZRBReadContext;

// Lives for one structure build, on the host's user-interface thread.
class ZRBSubAssemblyReader {
 public:
  // --- lifecycle
  explicit ZRBSubAssemblyReader(ZRBReadContext& context) : context_(context) {}

  // 1 when the item has a structure of its own ("PRODUCT", or an embedded component).
  static int HasOwnStructure(const ZRBObject& relation, const ZRBObject& item);

  // The product standing for `item` below `parent` (null: a window of its own), reused, replaced or added, with
  // its PDM identity and attributes; null when it could not be built (the message is in the command's list).
  CADIProduct_var ReadProduct(const CADIProduct_var& parent, const ZRBObject& relation, ZRBObject& item);

 private:
  CADIProduct_var ReadAssembly(ZRBProd& node, const CADUnicodeString& instanceName);
  CADIProduct_var ReadEmbedded(ZRBProd& node, const CADUnicodeString& instanceName);
  // The document of the node's product object; null (with its message) when it is missing or no product.
  CADDocument* RetrieveExistingProductData(ZRBObject& productObject, const CADUnicodeString& path);
  // The product to fill below the parent: the instance already there, a replacement, or a new instance.
  CADIProduct_var GetNewProduct(ZRBProd& node, CADDocument* document, ZRBObject& productObject,
                                const CADUnicodeString& path, const CADUnicodeString& instanceName);
  // Catalogs are read by their own commands: a catalog root met in a structure stops this node.
  int IsCatalogRoot(const CADIProduct_var& product);
  void SetItemAttributes(const CADIProduct_var& product, ZRBProd& node);

  ZRBReadContext& context_;
};
