// Embedded products and components: finding them under the product they really belong to, and reporting one
// that several real parents embed.
#include <filesystem>
#include <set>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADILinkableObject.h"
#include "ZRBAfxBase.h"
#include "ZRBCommandStates.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

bool IsSet(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name) == "1";
}

// Depth first through the levels that still belong to `realParent` (embedded products and components): the
// first node with that part number passing `accept`.
template <typename Accept>
CADIProduct_var FindBelow(const CADIProduct_var& realParent, const CADUnicodeString& partNumber, Accept accept) {
  if (!realParent) return nullptr;
  for (const CADBaseUnknown_var& item : realParent->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const bool embedded = IsSet(child, "ZRB_USE_EMBEDDED_PRODUCT") || IsSet(child, "ZRB_ISCOMPONENT");
    if (!embedded) continue;
    if (accept(child) && GlobPropertyManager.GetPartNumber(child, 0) == partNumber) return child;
    if (CADIProduct_var found = FindBelow(child, partNumber, accept)) return found;
  }
  return nullptr;
}

CADUnicodeString StorageNameOf(const CADIProduct_var& product) {
  CADILinkableObject_var link(product);
  CADDocument* document = link ? link->GetDocument() : nullptr;
  return document ? document->StorageName() : CADUnicodeString();
}

void CollectInstances(const CADIProduct_var& node, const CADUnicodeString& partNumber,
                      std::vector<CADIProduct_var>& out) {
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (GlobPropertyManager.GetPartNumber(child, 0) == partNumber) out.push_back(child);
    CollectInstances(child, partNumber, out);
  }
}

// Real parents compare by their file, whatever way the path is written.
std::string Canonical(const CADUnicodeString& path) {
  std::error_code ignored;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path.str(), ignored);
  return canonical.empty() ? path.str() : canonical.string();
}

}  // namespace

CADIProduct_var ZRBCommandStates::FindEmbeddedProductInRealParent(const CADIProduct_var& realParent,
                                                                  const CADUnicodeString& partNumber) {
  return FindBelow(realParent, partNumber,
                   [](const CADIProduct_var& node) { return IsSet(node, "ZRB_USE_EMBEDDED_PRODUCT"); });
}

CADIProduct_var ZRBCommandStates::FindEmbeddedProductInRealParent(const CADIProduct_var& product) {
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return nullptr;
  }
  return FindEmbeddedProductInRealParent(GetRealParent(ZRBPSNTreeUtil::GetFatherProduct(product)),
                                         GlobPropertyManager.GetPartNumber(product, 0));
}

CADIProduct_var ZRBCommandStates::FindComponentInRealParent(const CADIProduct_var& realParent,
                                                            const CADUnicodeString& partNumber) {
  return FindBelow(realParent, partNumber, [](const CADIProduct_var& node) { return IsSet(node, "ZRB_ISCOMPONENT"); });
}

int ZRBCommandStates::ProcessMultiEmbeddedProduct(const CADIProduct_var& product, CADListValCADUnicodeString& messages,
                                                  int& found) {
  found = 0;
  if (!product) {
    ZRB_DEBUG("Product Pointer is NULL");
    return 0;
  }
  if (!IsSet(product, "ZRB_MULTI_EMBEDDED")) return 1;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 0);
  // The real parent the PDM knows, then the real parent of every instance of the session.
  std::set<std::string> parents;
  const CADUnicodeString recorded = GlobPropertyManager.GetReferenceProperty(product, "ZRB_REAL_PARENT_PATH");
  if (!recorded.IsEmpty()) parents.insert(Canonical(recorded));
  std::vector<CADIProduct_var> instances;
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var document(item);
    CADIProduct_var root = document ? document->GetRootProduct() : CADIProduct_var();
    if (root && !root->GetFatherProduct()) CollectInstances(root, partNumber, instances);
  }
  for (const CADIProduct_var& instance : instances) {
    const CADUnicodeString file = StorageNameOf(GetRealParent(ZRBPSNTreeUtil::GetFatherProduct(instance)));
    if (!file.IsEmpty()) parents.insert(Canonical(file));
  }
  if (parents.size() < 2) return 1;
  ZRB_DEBUG("ZRB: %s is embedded in %d real parents", partNumber.c_str(), static_cast<int>(parents.size()));
  ZRBAfxBase::AddMessageCategoryToList(messages, "FoundMultiEmbeddedProductHeader", partNumber);
  found = 1;
  return 1;
}
