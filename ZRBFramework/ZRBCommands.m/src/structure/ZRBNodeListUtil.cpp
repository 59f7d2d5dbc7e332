#include "ZRBNodeListUtil.h"

#include "CADIProduct.h"
#include "ZRBPSNTreeUtil.h"

namespace {
bool Listed(const CADListValCADBaseUnknown_var& nodes, const CADIProduct_var& node) {
  for (const auto& entry : nodes)
    if (entry.IsEqual(node)) return true;
  return false;
}
}  // namespace

HRESULT ZRBNodeListUtil::RemoveRedundancies(CADListValCADBaseUnknown_var* nodes) {
  if (!nodes) return E_FAIL;
  CADListValCADBaseUnknown_var kept;
  for (const auto& entry : *nodes) {
    CADIProduct_var node(entry);
    bool below = false;
    for (CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node); father && !below;
         father = ZRBPSNTreeUtil::GetFatherProduct(father))
      below = Listed(*nodes, father);
    if (!below) kept.Append(entry);
  }
  *nodes = kept;
  return S_OK;
}
