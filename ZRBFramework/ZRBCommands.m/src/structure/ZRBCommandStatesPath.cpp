#include "ZRBCommandStates.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

int ZRBCommandStates::GetPartWithPath(const CADIProduct_var& product, const CADString& obid,
                                      const CADListValCADString& relations, CADIProduct_var& found,
                                      CADPathElement& path, int level) {
  ZRB_DEBUG("Working in Levle: %d", level);
  if (!product || level < 0 || level >= relations.Size()) return 0;
  const CADUnicodeString wanted(relations[level + 1]);
  const bool last = level + 1 == relations.Size();
  ZRBNodeList children;
  if (FAILED(ZRBPSNTreeUtil::GetDirectChildren(product, children))) return 0;
  for (const CADBaseUnknown_var& item : children) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(product, child, "ZRB_RELATION");
    if (relation.IsEmpty() || !(relation == wanted)) continue;
    if (last && !(GlobPropertyManager.GetReferenceProperty(child, "ZRB_OBID") == CADUnicodeString(obid))) continue;
    const CADPathElement before = path;
    path.AddChildElement(CADBaseUnknown_var(child));
    CADUnicodeString name;
    child->GetPrdInstanceName(name);
    ZRB_DEBUG("ZRB: Adding Childelement: '%s'", name.c_str());
    if (last) {
      found = child;
      return 1;
    }
    if (GetPartWithPath(child, obid, relations, found, path, level + 1)) return 1;
    path = before;
  }
  return 0;
}
