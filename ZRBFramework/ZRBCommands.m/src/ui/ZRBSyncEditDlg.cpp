#include "ZRBSyncEditDlg.h"

#include <initializer_list>
#include <string>

#include "CADApplicationFrame.h"
#include "CADDlgCheckButton.h"
#include "CADDlgCombo.h"
#include "CADDlgEditor.h"
#include "CADDlgPushButton.h"
#include "ZRBAfxBase.h"
#include "ZRBSyncJobList.h"

namespace {
CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}
CADUnicodeString Text(const char* key) {
  return ZRBAfxBase::BuildMessage("ZRBSyncEditDlg", CADString(std::string("ZRBSyncEditDlg.") + key));
}
// Combo lines in this order.
constexpr ZRBPartType kTypes[] = {ZRBPartType::NotSet, ZRBPartType::Bom, ZRBPartType::NoBom};
}  // namespace

ZRBSyncEditDlg::ZRBSyncEditDlg(ZRBSyncJobList& jobs, int row, std::function<void()> changed)
    : CADDlgDialog(MainWindow(), "ZRBSyncEditDlg", CADDlgWndGrid | CADDlgWndModal),
      jobs_(jobs),
      row_(row),
      changed_(std::move(changed)) {
  partNumber_ = new CADDlgEditor(this, "PartNumberEditor", CADDlgEdtReadOnly);
  combo_ = new CADDlgCombo(this, "Combo");
  for (const char* key : {"PartType.NotSet", "PartType.Bom", "PartType.NoBom"}) combo_->SetLine(Text(key));
  toAll_ = new CADDlgCheckButton(this, "ApplyToAllCheckBtn");
  prev_ = new CADDlgPushButton(this, "PrevBtn");
  next_ = new CADDlgPushButton(this, "NextBtn");
  auto* close = new CADDlgPushButton(this, "CloseBtn");
  prev_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnPrevBtn(); }, this);
  next_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnNextBtn(); }, this);
  close->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnCloseBtn(); }, this);
  Connect(
      CADDlgEvent::WindowClose, [this](CADDialog&) { OnCloseBtn(); }, this);
  ApplyResourceTitles();
  UpdateDialog();
  SetVisibility(CADDlgShow);
}

CADListValCADString ZRBSyncEditDlg::GetResourceFilename() const { return CADListValCADString{"ZRBSyncEditDlg"}; }

void ZRBSyncEditDlg::UpdateDialog() {
  const bool editable = row_ >= 0 && row_ < jobs_.Size() && jobs_.At(row_).editable;
  for (CADDialog* control : std::initializer_list<CADDialog*>{partNumber_, combo_, toAll_})
    control->SetSensitivity(editable ? CADDlgEnable : CADDlgDisable);
  prev_->SetSensitivity(editable && jobs_.PrevEditable(row_) >= 0 ? CADDlgEnable : CADDlgDisable);
  next_->SetSensitivity(editable && jobs_.NextEditable(row_) >= 0 ? CADDlgEnable : CADDlgDisable);
  if (!editable) return;
  const ZRBSyncJob& job = jobs_.At(row_);
  partNumber_->SetText(job.name);
  for (int i = 0; i < 3; ++i)
    if (kTypes[i] == job.partType) combo_->SetSelect(i);
}

void ZRBSyncEditDlg::Apply() {
  const int line = combo_->GetSelect();
  if (line < 0 || line > 2 || row_ < 0 || row_ >= jobs_.Size() || !jobs_.At(row_).editable) return;
  if (toAll_->GetState() == CADDlgCheck)
    jobs_.ApplyPartTypeToAll(kTypes[line]);
  else
    jobs_.ApplyPartType(row_, kTypes[line]);
  if (changed_) changed_();
}

void ZRBSyncEditDlg::OnPrevBtn() {
  Apply();
  const int prev = jobs_.PrevEditable(row_);
  if (prev >= 0) row_ = prev;
  UpdateDialog();
}

void ZRBSyncEditDlg::OnNextBtn() {
  Apply();
  const int next = jobs_.NextEditable(row_);
  if (next >= 0) row_ = next;
  UpdateDialog();
}

void ZRBSyncEditDlg::OnCloseBtn() {
  if (IsDestructionRequested()) return;
  Apply();
  SetVisibility(CADDlgHide);
  RequestDelayedDestruction();
}
