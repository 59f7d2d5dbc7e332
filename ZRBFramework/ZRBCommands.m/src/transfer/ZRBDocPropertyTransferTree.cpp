// The property setters that walk a product structure, depth first and pre-order.
#include "CADDocument.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

template <typename Visit>
void WalkChildren(const CADIProduct_var& product, const Visit& visit) {
  if (!product) return;
  const CADListValCADBaseUnknown_var children = product->GetChildren();
  for (int i = 1; i <= children.Size(); ++i) {
    CADIProduct_var child(children[i]);
    if (!child) continue;
    visit(product, child);
    WalkChildren(child, visit);
  }
}

// An analysis document has no product children: its linked documents are its structure.
void SetFilePropertyOfAnalysis(const CADIProduct_var& analysis, const CADUnicodeString& name,
                               const CADUnicodeString& value) {
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(analysis, &document)) || !document) return;
  for (CADDocument* linked : document->GetPointedDocuments()) {
    if (!linked || linked->StorageName().IsEmpty()) continue;
    GlobPropertyManager.SetFileProperty(linked->StorageName(), name, value);
    ZRBDocPropertyTransfer::SetFilePropertyToAllChildren(linked->GetRootProduct(), name, value);
  }
}

}  // namespace

void ZRBDocPropertyTransfer::SetReferencePropertyToAllChildren(const CADIProduct_var& product,
                                                               const CADUnicodeString& name,
                                                               const CADUnicodeString& value) {
  WalkChildren(product, [&](const CADIProduct_var&, const CADIProduct_var& child) {
    GlobPropertyManager.SetReferenceProperty(child, name, value);
  });
}

void ZRBDocPropertyTransfer::SetInstancePropertyToAllChildren(const CADIProduct_var& product,
                                                              const CADUnicodeString& name,
                                                              const CADUnicodeString& value) {
  WalkChildren(product, [&](const CADIProduct_var& parent, const CADIProduct_var& child) {
    GlobPropertyManager.SetInstanceProperty(parent, child, name, value);
  });
}

void ZRBDocPropertyTransfer::SetFilePropertyToAllChildren(const CADIProduct_var& product, const CADUnicodeString& name,
                                                          const CADUnicodeString& value) {
  WalkChildren(product, [&](const CADIProduct_var&, const CADIProduct_var& child) {
    if (GlobPropertyManager.GetProductType(child) == "CADAnalysis") SetFilePropertyOfAnalysis(child, name, value);
    const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(child);
    if (!path.IsEmpty()) GlobPropertyManager.SetFileProperty(path, name, value);
  });
}

void ZRBDocPropertyTransfer::SetPathToRootPropertyToAllChildren(const CADIProduct_var& product,
                                                                const CADUnicodeString& name,
                                                                const CADUnicodeString& value) {
  WalkChildren(product, [&](const CADIProduct_var&, const CADIProduct_var& child) {
    GlobPropertyManager.SetPathToRootProperty(child, name, value);
  });
}

void ZRBDocPropertyTransfer::RemoveReferencePropertyFromAllChildren(const CADIProduct_var& product,
                                                                    const CADUnicodeString& name) {
  WalkChildren(product, [&](const CADIProduct_var&, const CADIProduct_var& child) {
    GlobPropertyManager.DeleteReferenceProperty(child, name);
  });
}

int ZRBDocPropertyTransfer::RemoveZRBPropsFromInstance(const CADIProduct_var& product, int recursive) {
  ZRB_TRACE("ZRBDocPropertyTransfer::RemoveZRBPropsFromInstance");
  if (!product) {
    ZRB_DEBUG("piProduct = NULL");
    return 0;
  }
  const auto removeOwn = [](const CADIProduct_var& father, const CADIProduct_var& node) {
    if (!father) return;
    CADListValCADUnicodeString names, values;
    GlobPropertyManager.GetAllInstanceProperties(father, node, names, values);
    for (int i = 1; i <= names.Size(); ++i) GlobPropertyManager.DeleteInstanceProperty(father, node, names[i]);
  };
  removeOwn(product->GetFatherProduct(), product);
  if (recursive) WalkChildren(product, removeOwn);
  ZRB_TRACE_OK();
  return 1;
}
