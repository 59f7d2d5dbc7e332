#include "ZRBResetInvalidPosCmd.h"

#include "CADClassDictionary.h"
#include "CADFrmEditor.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBResetPosDialog.h"
#include "ZRBTrace.h"

ZRBResetInvalidPosCmd* fctCreateZRBResetInvalidPosCmd() { return new ZRBResetInvalidPosCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBResetInvalidPosCmd", &fctCreateZRBResetInvalidPosCmd);
}  // namespace

ZRBOneStepCommand::Outcome ZRBResetInvalidPosCmd::Work() {
  ResetPosition();
  // The dialog carries on by itself and reports through a command of its own.
  return Outcome::Stopped;
}

int ZRBResetInvalidPosCmd::ResetPosition() {
  ZRB_TRACE("ZRBResetInvalidPosCmd::ResetPosition");
  CADFrmEditor* editor = GetEditor();
  if (!editor || !editor->GetDocument()) {
    ZRB_DEBUG("ZRBResetInvalidPosCmd::Activate -> ERROR: m_pEditor == NULL");
    ShowMessage("ZRBResetInvalidPosCmd", "ResetPositionFailed", kFailureStyle);
    return 0;
  }
  CADIProduct_var root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(editor->GetDocument(), &root)) || !root) {
    ZRB_DEBUG("ZRBResetInvalidPosCmd::Activate -> ERROR: getting root product");
    ShowMessage("ZRBResetInvalidPosCmd", "ResetPositionFailed", kFailureStyle);
    return 0;
  }
  CADListValCADUnicodeString parents, children, names;
  int found = 0;
  if (!CheckForInvalidPosOfProduct(root.get(), parents, children, names, found)) {
    ShowMessage("ZRBResetInvalidPosCmd", "ResetPositionFailed", kFailureStyle);
    return 0;
  }
  if (names.Size() > 0) {
    auto* dialog = new ZRBResetPosDialog(parents, children, names, &ContinueReset);
    if (dialog->IsBuilt()) {
      dialog_ = dialog;
    } else {
      dialog->RequestDelayedDestruction();
    }
  }
  ZRB_TRACE_OK();
  return 1;
}

void ZRBResetInvalidPosCmd::ContinueReset(int result, CADListValCADUnicodeString& messages) {
  auto* command = new ZRBResetInvalidPosCmd();
  for (const CADUnicodeString& message : messages) command->GetWarnings().Append(message);
  messages = CADListValCADUnicodeString();
  command->DisplayMessageCenter(result, 0, BuildMessage("ZRBResetInvalidPosCmd", "ResetPositionOk"),
                                BuildMessage("ZRBResetInvalidPosCmd", "ResetPositionFailed"), 0);
  command->End();
}
