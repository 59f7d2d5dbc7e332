#include "ZRBProductPathUtil.h"

#include <vector>

#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
// The nodes from the root down to `product`, root first. Walked upwards with
// a loop rather than recursion, so a deep structure cannot exhaust the stack.
std::vector<CADIProduct_var> RootFirst(const CADIProduct_var& product) {
  std::vector<CADIProduct_var> nodes;
  for (CADIProduct_var node = product; node; node = ZRBPSNTreeUtil::GetFatherProduct(node)) nodes.push_back(node);
  return {nodes.rbegin(), nodes.rend()};
}
}  // namespace

void ZRBProductPathUtil::GetPathToRootForProduct(const CADIProduct_var& product, CADUnicodeString& path) {
  if (!product) {
    ZRB_DEBUG("Input Parameter 'Product' is NULL");
    return;
  }
  for (const auto& node : RootFirst(product)) {
    CADUnicodeString name;
    node->GetPrdInstanceName(name);
    path += '/';
    path += name;
  }
}

void ZRBProductPathUtil::GetFullPathNameForProduct(const CADIProduct_var& product, CADUnicodeString& path) {
  if (!product) {
    ZRB_DEBUG("Input Parameter 'Product' is NULL");
    return;
  }
  for (const auto& node : RootFirst(product)) {
    path += '/';
    path += GlobPropertyManager.GetPartNumber(node, 0);
  }
}

void ZRBProductPathUtil::GetCADPathElementFromRoot(const CADIProduct_var& product, CADPathElement& path) {
  if (!product) {
    ZRB_DEBUG("Input Parameter 'Product' is NULL");
    return;
  }
  for (const auto& node : RootFirst(product)) path.AddChildElement(CADBaseUnknown_var(node));
}
