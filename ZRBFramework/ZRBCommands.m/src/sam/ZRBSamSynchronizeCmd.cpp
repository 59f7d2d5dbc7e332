#include "ZRBSamSynchronizeCmd.h"

#include "CADClassDictionary.h"
#include "CADFrmEditor.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBSamUpdateCreateDialog.h"
#include "ZRBTrace.h"

ZRBSamSynchronizeCmd* fctCreateZRBSamSynchronizeCmd() { return new ZRBSamSynchronizeCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamSynchronizeCmd", &fctCreateZRBSamSynchronizeCmd);
}  // namespace

int ZRBSamSynchronizeCmd::UpdateProductDocumentInteractive(CADDocument* document) {
  ZRB_TRACE("ZRBSamSynchronizeCmd::UpdateProductDocumentInteractive");
  CADFrmEditor* editor = GetEditor();
  CADIProduct_var root;
  if (!editor || !document || FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 0;
  // The rows name the nodes to work on; a selection left over from before would only confuse the designer.
  editor->GetCSO()->Empty();
  if (GetConfigurableNodeBehavior() && !ZRBPSNTreeUtil::SetConfigurableBehaviorAttributesToStructure(root))
    ZRB_DEBUG("could not set configurable behavior attributes");
  const int filled = ZRBSynchronizeCmd::UpdateProductDocumentInteractive(document);
  if (filled) ZRB_TRACE_OK();
  return filled;
}

ZRBUpdateCreateDialog* ZRBSamSynchronizeCmd::NewDialog(std::function<void()> closed) {
  return new ZRBSamUpdateCreateDialog(GetJobs(), *this, std::move(closed));
}
