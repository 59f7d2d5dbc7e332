#include "ZRBSubAssemblyReader.h"

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBCommandContext.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBDocumentOpener.h"
#include "ZRBFileUtil.h"
#include "ZRBInstancePlacement.h"
#include "ZRBNodeAttributes.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBProd.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBTrace.h"

namespace {

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  if (product) ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

}  // namespace

int ZRBSubAssemblyReader::HasOwnStructure(const ZRBObject& relation, const ZRBObject& item) {
  return !item.GetSlotValue("PRODUCT").IsEmpty() || item.GetSlotValue("USE_EMBEDDED_PRODUCT") == "1" ||
         relation.GetSlotValue("USE_EMBEDDED_PRODUCT") == "1";
}

CADIProduct_var ZRBSubAssemblyReader::ReadProduct(const CADIProduct_var& parent, const ZRBObject& relation,
                                                  ZRBObject& item) {
  ZRB_TRACE("ZRBReadCmd::ReadProduct");
  ZRBProd node(parent.get(), context_.Answer(), &item, relation.GetKey(), relation.GetSlotValue("QUANTITY"));
  const CADUnicodeString instanceName(relation.GetSlotValue("INSTANCE_NAME"));
  node.SetExistingProduct(ZRBInstancePlacement::FindChild(parent, instanceName));
  CADIProduct_var product =
      node.GetAttachedCADProductZRBObject() ? ReadAssembly(node, instanceName) : ReadEmbedded(node, instanceName);
  if (!product) return nullptr;
  if (IsCatalogRoot(product)) return nullptr;
  // Nodes whose part number the site configured get their behaviour before anything is read into them.
  if (context_.ConfigurableNodeBehavior()) ZRBPSNTreeUtil::SetConfigurableBehaviorIfNecessary(product);
  SetItemAttributes(product, node);
  ZRB_TRACE_OK();
  return product;
}

CADIProduct_var ZRBSubAssemblyReader::ReadAssembly(ZRBProd& node, const CADUnicodeString& instanceName) {
  ZRBObject& productObject = *node.GetAttachedCADProductZRBObject();
  CADUnicodeString path;
  if (!context_.FileOf(productObject, path)) return nullptr;
  node.SetFilePath(path.ConvertToString());
  CADDocument* document = RetrieveExistingProductData(productObject, path);
  if (!document) return nullptr;
  node.SetDocumentPtr(document);
  CADIProduct_var product = GetNewProduct(node, document, productObject, path, instanceName);
  if (!product) {
    context_.DropUnplaced(document, path);
    return nullptr;
  }
  ZRBDocPropertyTransfer::SetProductPropertiesFromZRBObject(product, &productObject);
  ZRBPropertyManager& properties = GlobPropertyManager;
  properties.SetFullPath(product, path);
  if (!properties.IsFilePropertySet(path, "ZRB_LAST_KNOWN_MOD_TIME")) {
    CADUnicodeString seconds;
    if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)))
      properties.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
  }
  document->SetReadOnly(node.IsChangeable() ? 0 : 1);
  if (!node.IsChangeable()) context_.NoteReadOnly(path);
  context_.RegisterDocument(productObject, path);
  return product;
}

CADDocument* ZRBSubAssemblyReader::RetrieveExistingProductData(ZRBObject& productObject, const CADUnicodeString& path) {
  CADDocument* document = CADDocumentServices::GetDocumentInSession(path);
  if (!document) {
    ZRBObject* object = &productObject;
    const unsigned char readOnly = productObject.GetSlotValue("CHANGEABLE") == "1" ? 0 : 1;
    if (!ZRBDocumentOpener::OpenDocument(context_.Command(), document, path, readOnly,
                                         context_.State().cachedFilesToRefresh, object)) {
      context_.State().warningState = 1;
      return nullptr;
    }
  }
  // CheckThatDocIsCADProduct: a structure node needs a product document to hold its children.
  if (document->GetType() != "CADProduct") {
    ZRB_DEBUG("ZRB: '%s' is no CADProduct", path.c_str());
    context_.AddWarning("ReloadProductFailed", ZRBFileUtil::GetFileNameFromPath(path));
    context_.DropUnplaced(document, path);
    return nullptr;
  }
  return document;
}

CADIProduct_var ZRBSubAssemblyReader::GetNewProduct(ZRBProd& node, CADDocument* document, ZRBObject& productObject,
                                                    const CADUnicodeString& path,
                                                    const CADUnicodeString& instanceName) {
  CADIProduct* parent = node.GetParentCADProduct();
  if (!parent) {
    CADDocument* shown = nullptr;
    if (!ZRBDocumentOpener::OpenWithWindow(context_.Command(), shown, path, node.GetPartNumber(),
                                           node.IsChangeable() ? 0 : 1, context_.State().cachedFilesToRefresh,
                                           &productObject) ||
        !shown) {
      context_.State().warningState = 1;
      return nullptr;
    }
    return shown->GetRootProduct();
  }
  const CADIProduct_var& existing = node.GetExistingProduct();
  CADIProduct_var parentProduct(parent);
  if (existing) {
    if (DocumentOf(existing) == document) return existing;
    CADIProduct_var replaced;
    if (FAILED(parent->ReplaceComponent(existing, document, replaced)) || !replaced) {
      context_.AddWarning("ReloadProductFailed", ZRBFileUtil::GetFileNameFromPath(path));
      return nullptr;
    }
    GlobPropertyManager.SetInstanceProperty(parentProduct, replaced, "ZRB_REPLACED_COMPONENT", "1");
    context_.AddError("ReplacedComponent", instanceName);
    context_.State().replacedWarning = 1;
    context_.State().highlightChanged = 1;
    return replaced;
  }
  CADIProduct_var added;
  if (FAILED(parent->AddExternalComponent(document, added)) || !added) {
    ZRB_DEBUG("ZRB: could not add '%s': %s", path.c_str(), CADDocumentServices::GetLastError().c_str());
    context_.AddWarning("AddProductFailed", ZRBFileUtil::GetFileNameFromPath(path));
    return nullptr;
  }
  ZRBInstancePlacement::NameInstance(added, instanceName);
  context_.NoteAdded(parentProduct, added);
  return added;
}

CADIProduct_var ZRBSubAssemblyReader::ReadEmbedded(ZRBProd& node, const CADUnicodeString& instanceName) {
  CADIProduct* parent = node.GetParentCADProduct();
  const CADUnicodeString partNumber = node.GetPartNumber();
  if (!parent || partNumber.IsEmpty()) {
    // An embedded component lives in its parent's document: without a parent there is nowhere to keep it.
    ZRB_DEBUG("ZRB: embedded component '%s' without a parent, skipped", partNumber.c_str());
    context_.AddWarning("AddProductFailed", partNumber);
    return nullptr;
  }
  const CADIProduct_var& existing = node.GetExistingProduct();
  CADIProduct_var product;
  if (existing && existing->IsEmbeddedComponent() && existing->GetPartNumber() == partNumber) {
    product = existing;
  } else if (FAILED(parent->AddNewComponent(partNumber, product)) || !product) {
    ZRB_DEBUG("ZRB: could not add embedded component '%s'", partNumber.c_str());
    context_.AddWarning("AddProductFailed", partNumber);
    return nullptr;
  } else {
    ZRBInstancePlacement::NameInstance(product, instanceName);
    context_.NoteAdded(CADIProduct_var(parent), product);
  }
  ZRBPropertyManager& properties = GlobPropertyManager;
  const ZRBObject& item = *node.GetZRBObject();
  properties.SetReferenceProperty(product, "ZRB_ISCOMPONENT", "0");
  properties.SetReferenceProperty(product, "ZRB_USE_EMBEDDED_PRODUCT", "1");
  properties.SetReferenceProperty(product, "ZRB_CLASSNAME", CADUnicodeString(item.GetSlotValue("CLASSNAME")));
  properties.SetReferenceProperty(product, "ZRB_DB_NAME", CADUnicodeString(item.GetSlotValue("DB_NAME")));
  properties.SetReferenceProperty(product, "ZRB_CHANGEABLE", CADUnicodeString(item.GetSlotValue("CHANGEABLE")));
  ZRBDocPropertyTransfer::SetStdPropertiesFromZRBObject(product, &item);
  return product;
}

int ZRBSubAssemblyReader::IsCatalogRoot(const CADIProduct_var& product) {
  if (!GlobPropertyManager.IsReferencePropertySet(product, "ZRB_ROOT_USED_FROM_PDM")) return 0;
  ZRB_DEBUG("Catalog found Read request ignored!");
  CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
  context_.AddWarning("CatalogFoundNotRead", path);
  return 1;
}

void ZRBSubAssemblyReader::SetItemAttributes(const CADIProduct_var& product, ZRBProd& node) {
  const ZRBObject* item = node.GetZRBObject();
  const int lists = !node.GetUserDefPropertyNamesAsString().IsEmpty() || !node.GetUserDefDelNamesAsString().IsEmpty();
  if (lists && !ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(product, item))
    context_.AddWrongListSize();
  ZRBNodeAttributes::SetCustomAttrsToNode(product, item);
  ZRBPropertyManager& properties = GlobPropertyManager;
  properties.SetPathToRootProperty(product, "ZRB_FROMWB", "1");
  if (context_.State().addTempRead) properties.SetReferenceProperty(product, "ZRB_ADD_TEMP", "1");
}
