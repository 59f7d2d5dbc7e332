#include "ZRBInfoCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoDialog.h"
#include "ZRBTrace.h"

ZRBInfoCmd* fctCreateZRBInfoCmd() { return new ZRBInfoCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBInfoCmd", &fctCreateZRBInfoCmd);
}  // namespace

ZRBOneStepCommand::Outcome ZRBInfoCmd::Work() {
  ZRB_TRACE("ZRBInfoCmd::Work");
  if (!CADFrmEditor::GetCurrentEditor()) {
    ZRB_DEBUG("ZRB: GetCurrentEditor() failed");
    ShowMessage("ZRBInfoCmd", "Failed", kFailureStyle);
    return Outcome::Stopped;
  }
  ZRBInfoDialog* dialog = ZRBInfoDialog::Open();
  dialog->SetVisibility(CADDlgShow);
  dialog->ShowInfo();
  PrintPointedInfo();
  ZRB_TRACE_OK();
  // The dialog carries on alone; the command has nothing left to show.
  return Outcome::Stopped;
}

void ZRBInfoCmd::PrintPointedInfo() {
  if (!g_ZRBConfig.CompareEnvVar("ZRB_GETPOINTEDDOCUMENTS", "ON", 1)) {
    ZRB_DEBUG("ZRB: PrintPointedInfo OFF");
    return;
  }
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) return;
  for (CADDocument* pointed : document->GetPointedDocuments()) {
    ZRB_DEBUG("ZRB: ---:");
    ZRB_DEBUG("Type: %s", pointed->GetType().c_str());
    ZRB_DEBUG("Path: %s", pointed->StorageName().c_str());
  }
}
