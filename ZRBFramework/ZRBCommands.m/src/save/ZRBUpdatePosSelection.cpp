#include "ZRBUpdatePosSelection.h"

#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateCmd.h"

namespace {
bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }
}  // namespace

std::unique_ptr<ZRBUpdatePosSelection> ZRBUpdatePosSelection::Open(ZRBUpdateCmd& command, ZRBObjectManager& request,
                                                                   const CADIProduct_var& root, bool allParts) {
  const bool models = IsOn("ZRB_ENABLE_UPD_MODELSELECT_DIALOG");
  const bool positions = !allParts && IsOn("ZRB_ENABLE_UPDATEPOSITIONDIALOG");
  if (!models && !positions) return nullptr;
  std::unique_ptr<ZRBUpdatePosSelection> selection(new ZRBUpdatePosSelection(command, request, root));
  ZRBUpdatePosSelect* dialog = allParts ? new ZRBUpdateAllPartsPosSelect(selection->request_, *selection)
                                        : command.NewPosSelect(selection->request_, *selection, positions, models);
  if (!dialog->IsBuilt()) {
    // Nothing modified to choose from: no dialog, the request goes as written.
    ZRB_DEBUG("ZRB: no modified position or model: sending without the selection");
    dialog->RequestDelayedDestruction();
    return nullptr;
  }
  selection->dialog_ = dialog;
  return selection;
}

ZRBUpdatePosSelection::~ZRBUpdatePosSelection() {
  if (dialog_) dialog_->Abandon();
}

void ZRBUpdatePosSelection::TakeMessages(CADListValCADUnicodeString& messages) {
  dialog_ = nullptr;
  for (const CADUnicodeString& message : messages) command_.GetWarnings().Append(message);
  messages = CADListValCADUnicodeString();
}

void ZRBUpdatePosSelection::ContinueUpdate(CADListValCADUnicodeString& messages) {
  TakeMessages(messages);
  command_.ContinueUpdate(request_, root_);
}

void ZRBUpdatePosSelection::CancelUpdate(CADListValCADUnicodeString& messages) {
  TakeMessages(messages);
  command_.CancelUpdate(request_);
}

// ---------------------------------------------------------------- the update command's side

ZRBUpdateCmd::~ZRBUpdateCmd() {
  // Ended while the designer was still choosing: nothing was sent, the marks go back as they were.
  if (selection_ && selection_->IsWaiting()) ProcessSaveFlags(0, selection_->GetRequest());
}

int ZRBUpdateCmd::CreateUpdatePosSelectDialog(ZRBObjectManager& request, const CADIProduct_var& root, bool allParts) {
  if (suppressInteraction_ || modes_.noInteraction) return 0;
  selection_ = ZRBUpdatePosSelection::Open(*this, request, root, allParts);
  return selection_ ? 1 : 0;
}

void ZRBUpdateCmd::ContinueUpdate(ZRBObjectManager& request, const CADIProduct_var& root) {
  ZRB_TRACE("ZRBUpdateCmd::ContinueUpdate");
  ApplyClientMode();
  int status = 0;
  const int done = UpdateProductDocumentPost(request, root, status);
  ShowOutcome(done);
  End();
  ZRB_TRACE_OK();
}

void ZRBUpdateCmd::CancelUpdate(ZRBObjectManager& request) {
  ZRB_TRACE("ZRBUpdateCmd::CancelUpdate");
  ApplyClientMode();
  // Run before anything else: the documents saved for the request are modified again, the private marks go.
  ProcessSaveFlags(0, request);
  AddUpdateMessage("ActionStopped");
  ShowOutcome(0);
  End();
  ZRB_TRACE_OK();
}

CADStatusChangeRC ZRBUpdateCmd::Cancel(CADCommand* caller, CADNotification* notification) {
  if (!selection_ || !selection_->IsWaiting()) return ZRBUpdateBaseCmd::Cancel(caller, notification);
  ZRB_TRACE("ZRBUpdateCmd::Cancel");
  // Cancelled while the designer was choosing: nothing is sent, the marks go back as they were.
  ProcessSaveFlags(0, selection_->GetRequest());
  selection_.reset();
  End();
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}
