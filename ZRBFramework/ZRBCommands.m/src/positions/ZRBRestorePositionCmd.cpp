#include "ZRBRestorePositionCmd.h"

#include "CADClassDictionary.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBRestorePositionCmd* fctCreateZRBRestorePositionCmd() { return new ZRBRestorePositionCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBRestorePositionCmd", &fctCreateZRBRestorePositionCmd);
}  // namespace

void ZRBRestorePositionCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBRestorePositionCmd", "RestorePositionOk"),
                       BuildMessage("ZRBRestorePositionCmd", "RestorePositionFailed"), 0);
}

int ZRBRestorePositionCmd::RestorePosition() {
  ZRB_TRACE("ZRBRestorePositionCmd::RestorePosition");
  CADFrmEditor* editor = GetEditor();
  if (!editor || !editor->GetDocument()) {
    ZRB_DEBUG("ZRBRestorePositionCmd::Activate -> ERROR: m_pEditor == NULL");
    ShowMessage("ZRBRestorePositionCmd", "RestorePositionFailed", kFailureStyle);
    return 0;
  }
  CADIProduct_var root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(editor->GetDocument(), &root)) || !root) {
    ZRB_DEBUG("ZRBRestorePositionCmd::Activate -> ERROR: getting root product");
    ShowMessage("ZRBRestorePositionCmd", "RestorePositionFailed", kFailureStyle);
    return 0;
  }
  const int result = RestorePositionOnProduct(root);
  if (result) ZRB_TRACE_OK();
  return result;
}

int ZRBRestorePositionCmd::RestorePositionOnProduct(const CADIProduct_var& product) {
  if (!product || !ZRBPSNTreeUtil::WasLoadedFromPdm(product)) return 1;
  if (GlobPropertyManager.GetReferenceProperty(product, "ZRB_IS_STD_PART") == "1") {
    ZRB_DEBUG("Found Standard Part Ignoring children");
    return 1;
  }
  // An instance that cannot be restored does not keep the others where they are.
  int result = 1;
  const CADListValCADBaseUnknown_var children = product->GetChildren();
  for (int i = 1; i <= children.Size(); ++i) {
    CADIProduct_var child(children[i]);
    if (!child) continue;
    if (!ResetOriginalMatrix(product, child)) result = 0;
    if (!RestorePositionOnProduct(child)) result = 0;
  }
  return result;
}

int ZRBRestorePositionCmd::ResetOriginalMatrix(const CADIProduct_var& parent, const CADIProduct_var& child) {
  const CADUnicodeString original = GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_ORIG_MATRIX");
  if (original.IsEmpty()) return 1;
  double coefficients[12];
  if (FAILED(ZRBPosMatrixUtil::ConvertToMatrix(original, coefficients))) {
    ZRB_DEBUG("ZRB: unreadable ZRB_ORIG_MATRIX: %s", original.c_str());
    return 0;
  }
  return MoveProduct(child, parent, coefficients);
}
