// A probe command for the session runner's own tests: asks a question in a
// message box, then lets the user pick a part from a list dialog and writes the
// choice into the description of the first document's root product, so a
// script can answer both and check the result in `dump --json`.
#include "CADClassDictionary.h"
#include "CADCommand.h"
#include "CADDlgDialog.h"
#include "CADDlgMultiList.h"
#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIPrdProperties.h"

namespace {

class ZRBSessionProbeCmd : public CADCommand {
 public:
  // --- lifecycle
  ZRBSessionProbeCmd() : CADCommand("ZRBSessionProbeCmd") {}

  // --- host command: the question, then the list; the command ends with the dialog
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    CADDlgNotify box(nullptr, "ZRBSessionProbeQuestion", CADDlgNfyYesNo | CADDlgNfyQuestion);
    if (box.DisplayBlocked("Pick a part for the probe?", "Probe") != CADDlgNfyAnswerYes) {
      RequestDelayedDestruction();
      return CADStatusChangeRCCompleted;
    }
    dialog_ = new CADDlgDialog(nullptr, "ZRBSessionProbeDlg", CADDlgWndBtnOKCancel);
    dialog_->SetTitle("Probe: choose a part");
    auto* list = new CADDlgMultiList(dialog_, "PartList");
    list->SetColumnTitles(Titles());
    for (const char* part : {"Bolt", "Plate", "Bracket"}) list->AddRow({CADUnicodeString(part), "part"});
    dialog_->Connect(
        CADDlgEvent::OK, [this, list](CADDialog&) { Finish(list); }, this);
    dialog_->Connect(
        CADDlgEvent::Cancel, [this](CADDialog&) { Finish(nullptr); }, this);
    dialog_->SetVisibility(CADDlgShow);
    return CADStatusChangeRCCompleted;
  }

 private:
  static CADListValCADUnicodeString Titles() {
    CADListValCADUnicodeString titles;
    titles.Append("Part number");
    titles.Append("Kind");
    return titles;
  }

  void Finish(CADDlgMultiList* list) {
    if (list && list->GetSelectCount() > 0) WriteChoice(list->GetCell(list->GetSelect().front(), 0));
    dialog_->DisconnectSubscriber(this);
    dialog_->RequestDelayedDestruction();
    RequestDelayedDestruction();
  }

  static void WriteChoice(const CADUnicodeString& part) {
    CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
    if (documents.Size() < 1) return;
    CADVar<CADDocument> document(documents[1]);
    if (!document) return;
    CADIPrdProperties_var properties(document->GetRootProduct());
    if (properties) properties->SetDescription("probe chose " + part);
  }

  CADDlgDialog* dialog_ = nullptr;  // owned by the dialog layer once shown
};

ZRBSessionProbeCmd* fctCreateZRBSessionProbeCmd() { return new ZRBSessionProbeCmd(); }

const CADClassDictionary::Registration g_registration("ZRBSessionProbeCmd", &fctCreateZRBSessionProbeCmd);

}  // namespace
