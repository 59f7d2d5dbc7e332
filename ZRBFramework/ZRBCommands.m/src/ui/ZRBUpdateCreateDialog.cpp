#include "ZRBUpdateCreateDialog.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "CADApplicationFrame.h"
#include "CADDlgCheckButton.h"
#include "CADDlgEditor.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBListBoxDialog.h"
#include "ZRBOrigChildRecord.h"
#include "ZRBPropertyManager.h"
#include "ZRBSyncEditDlg.h"
#include "ZRBSyncJobList.h"
#include "ZRBSyncRunner.h"
#include "ZRBTrace.h"

namespace {
constexpr unsigned long kDialogStyle = CADDlgWndGrid;
constexpr int kColumns = 8;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

void Sensitive(CADDialog* control, bool wanted) {
  // A hidden control is left as it is; a visible one is changed only when it differs.
  if (!control || control->GetVisibility() == CADDlgHide) return;
  const CADDlgSensitivity state = wanted ? CADDlgEnable : CADDlgDisable;
  if (control->GetSensitivity() != state) control->SetSensitivity(state);
}

const char* IconName(ZRBSyncIcon icon) {
  switch (icon) {
    case ZRBSyncIcon::Success:
      return "StatusIconSuccess";
    case ZRBSyncIcon::Warning:
      return "StatusIconWarning";
    case ZRBSyncIcon::Failed:
      return "StatusIconFailed";
    case ZRBSyncIcon::Blank:
      break;
  }
  return "";
}

// Reference properties the filling and the rows leave on products; none outlives the dialog.
constexpr const char* kTempProperties[] = {"ZRB_RULE_FAILED",           "ZRB_FIRST_PARENT_PARTNUMBER",
                                           "ZRB_CONTENT_IN_ARC",        "ZRB_SYNC_CHILD_ADDED_IN",
                                           "ZRB_SYNC_CHILD_ADDED_PN",   "ZRB_SYNC_CHILD_REMOVED_IN",
                                           "ZRB_SYNC_CHILD_REMOVED_PN", "ZRB_SYNC_SKIP_PRD_UPDATE",
                                           "ZRB_CREATECOMPONENT",       "ZRB_SYNC_DROP_TAB"};
}  // namespace

ZRBUpdateCreateDialog::ZRBUpdateCreateDialog(ZRBSyncJobList& jobs, ZRBSyncRunner& runner, std::function<void()> closed,
                                             const char* identifier)
    : CADDlgDialog(MainWindow(), identifier, kDialogStyle), jobs_(jobs), runner_(&runner), closed_(std::move(closed)) {
  new CADDlgLabel(this, "JobMultiListTitle");
  list_ = new CADDlgMultiList(this, "JobMultiList");
  CADListValCADUnicodeString titles;
  for (int i = 1; i <= kColumns; ++i) {
    const std::string number = std::to_string(i);
    titles.Append(i < kColumns ? ZRBSyncJobTexts::Text(("JobMultiList.ColumnTitle" + number).c_str())
                               : CADUnicodeString());
  }
  list_->SetColumnTitles(titles);
  for (int i = 1; i <= kColumns; ++i) {
    const CADUnicodeString width =
        ZRBAfxBase::BuildResource("ZRBUpdateCreateDialog", CADString("JobMultiList.ColumnWidth" + std::to_string(i)));
    if (!width.IsEmpty()) list_->SetColumnTextWidth(i - 1, std::atoi(width.c_str()));
  }
  list_->SetColumnVisibility(kColumns - 1, CADDlgHide);
  auto* buttons = new CADDlgFrame(this, "FrameForBtns");
  edit_ = new CADDlgPushButton(buttons, "EditBtn");
  new CADDlgLabel(buttons, "WidthSpacer1");
  validate_ = new CADDlgPushButton(buttons, "ValidateBtn");
  new CADDlgLabel(buttons, "WidthSpacer2");
  info_ = new CADDlgPushButton(buttons, "InfoBtn");
  new CADDlgLabel(buttons, "WidthSpacer3");
  autoStep_ = new CADDlgPushButton(buttons, "AutoStepBtn");
  new CADDlgLabel(buttons, "WidthSpacer4");
  auto* close = new CADDlgPushButton(buttons, "CloseBtn");
  singleStep_ = new CADDlgCheckButton(this, "SingleStepSynchronize");
  singleStep_->SetState(CADDlgCheck);
  if (g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_STEP_SYNC", "ON", 1) == 1) {
    singleStep_->SetState(CADDlgUncheck);
    singleStep_->SetVisibility(CADDlgHide);
  }
  auto* traceFrame = new CADDlgFrame(this, "TraceFrame");
  new CADDlgLabel(traceFrame, "TraceEditorTitle");
  trace_ = new CADDlgEditor(traceFrame, "TraceEditor", CADDlgEdtReadOnly | CADDlgEdtMultiline);
  auto* iconFrame = new CADDlgFrame(this, "IconFrame");
  icon_ = new CADDlgLabel(iconFrame, "StatusIcon");

  list_->Connect(
      CADDlgEvent::SelectionChanged, [this](CADDialog&) { OnJobMultiListListItemSelect(); }, this);
  list_->Connect(
      CADDlgEvent::Activate, [this](CADDialog&) { OnJobMultiListListActivate(); }, this);
  edit_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnEditBtn(); }, this);
  validate_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnValidateBtn(); }, this);
  info_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnInfoBtn(); }, this);
  autoStep_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnAutoStepBtnPush(); }, this);
  close->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { CloseWindow(); }, this);
  Connect(
      CADDlgEvent::WindowClose, [this](CADDialog&) { CloseWindow(); }, this);
  Connect(
      CADDlgEvent::Close, [this](CADDialog&) { CloseWindow(); }, this);
  ApplyResourceTitles();
  Refresh();
  SetVisibility(CADDlgShow);
}

CADListValCADString ZRBUpdateCreateDialog::GetResourceFilename() const {
  return CADListValCADString{"ZRBUpdateCreateDialog"};
}

int ZRBUpdateCreateDialog::SelectedRow() const {
  const std::vector<int> selected = list_->GetSelect();
  return selected.empty() ? -1 : selected.front();
}

void ZRBUpdateCreateDialog::Refresh() {
  const std::vector<int> selected = list_->GetSelect();
  list_->ClearRows();
  for (int i = 0; i < jobs_.Size(); ++i) {
    const ZRBSyncJob& job = jobs_.At(i);
    list_->AddRow({ZRBSyncJobTexts::Marker(job.marker), job.name, ZRBSyncJobTexts::PartType(job.partType), job.kind,
                   ZRBSyncJobTexts::Operation(job), ZRBSyncJobTexts::Execute(job.execute),
                   ZRBSyncJobTexts::Result(job.result), CADUnicodeString(std::to_string(job.traceStart))});
  }
  list_->SetSelect(selected);
  trace_->ClearLine();
  for (const CADUnicodeString& line : jobs_.Trace()) trace_->AddLine(line);
  UpdateButtonsAndIcons();
}

void ZRBUpdateCreateDialog::UpdateButtonsAndIcons() {
  const ZRBSyncJobList::Buttons wanted = jobs_.WantedButtons(SelectedRow());
  const bool running = runner_ != nullptr;
  Sensitive(validate_, running && wanted.validate);
  Sensitive(edit_, running && wanted.edit);
  Sensitive(info_, wanted.info);
  Sensitive(autoStep_, running && wanted.autoStep);
  icon_->SetIconName(IconName(jobs_.Icon()));
}

void ZRBUpdateCreateDialog::OnAutoStepBtnPush() {
  ZRB_TRACE("ZRBUpdateCreateDialog::OnAutoStepBtnPush");
  if (!runner_) return;
  const bool single = singleStep_->GetState() == CADDlgCheck && singleStep_->GetVisibility() == CADDlgShow;
  SetSensitivity(CADDlgDisable);
  if (single) {
    jobs_.RunNext(*runner_);
  } else {
    ZRBAfxBase::SetWorkBenchWindowTop();
    if (!jobs_.RunAll(*runner_)) ZRBAfxBase::MsgBox(ZRBSyncJobTexts::Text("NewObjectTypesNeedProcessingSync"), 0x200);
    ZRBAfxBase::SetCadWindowTop();
  }
  SetSensitivity(CADDlgEnable);
  list_->ClearSelect();
  Refresh();
  if (jobs_.NextRow() > 0) list_->SetFirstVisibleRow(jobs_.NextRow() - 1);
}

void ZRBUpdateCreateDialog::OnValidateBtn() {
  if (!runner_) return;
  jobs_.Validate(*runner_);
  Refresh();
}

void ZRBUpdateCreateDialog::OnEditBtn() {
  const int row = SelectedRow();
  if (row < 0 || !jobs_.At(row).editable) {
    ZRB_DEBUG("ZRB: Warning - no editable Part type data for Listbox entry");
    return;
  }
  new ZRBSyncEditDlg(jobs_, row, [this] { Refresh(); });
}

void ZRBUpdateCreateDialog::OnInfoBtn() {
  const int row = SelectedRow();
  if (row < 0) return;
  const ZRBSyncJob& job = jobs_.At(row);
  auto* box = new ZRBListBoxDialog();
  box->Build();
  box->SetTitle(ZRBSyncJobTexts::Text("InformationTitle"));
  box->SetLabel(ZRBSyncJobTexts::Text("InformationLabel"));
  const CADUnicodeString cells[3] = {ZRBSyncJobTexts::PartType(job.partType), job.kind,
                                     ZRBSyncJobTexts::Operation(job)};
  for (int i = 0; i < 3; ++i)
    box->AddListItem(ZRBSyncJobTexts::Text(("JobMultiList.ColumnTitle" + std::to_string(i + 2)).c_str()) +
                     CADUnicodeString(": ") + cells[i]);
  const auto children = [&](const char* title, const CADListValCADUnicodeString& names,
                            const CADListValCADUnicodeString& numbers) {
    box->AddListItem(ZRBSyncJobTexts::Text(title) + CADUnicodeString(":"));
    for (int i = 1; i <= names.Size(); ++i)
      box->AddListItem(CADUnicodeString("    ") + names[i] + CADUnicodeString(" (") +
                       (i <= numbers.Size() ? numbers[i] : CADUnicodeString()) + CADUnicodeString(")"));
  };
  children("AddedChildren", job.addedInstances, job.addedPartNumbers);
  children("DeletedChildren", job.removedInstances, job.removedPartNumbers);
  box->SetVisibility(CADDlgShow);
}

void ZRBUpdateCreateDialog::OnJobMultiListListItemSelect() { UpdateButtonsAndIcons(); }

void ZRBUpdateCreateDialog::OnJobMultiListListActivate() {
  if (jobs_.ToggleExecute(SelectedRow())) Refresh();
}

void ZRBUpdateCreateDialog::RemoveAllTempProps() {
  for (int i = 0; i < jobs_.Size(); ++i) {
    const CADIProduct_var& product = jobs_.At(i).product;
    if (!product) continue;
    for (const char* name : kTempProperties) GlobPropertyManager.DeleteReferenceProperty(product, name);
    for (const char* name : ZRBOrigChildRecord::kRestoreNames)
      GlobPropertyManager.DeleteReferenceProperty(product, name);
    if (jobs_.At(i).object != ZRBSyncObject::DesignTable) continue;
    CADRawCollPV* tables = ZRBDesignTable::GetTables(product, 0);
    for (int t = 1; tables && t <= tables->Size(); ++t) {
      CADUnicodeString path;
      if (auto* table = static_cast<ZRBDesignTable*>((*tables)[t]); table && SUCCEEDED(table->GetFullPath(path)))
        GlobPropertyManager.DeleteFileProperty(path, "ZRB_SYNC_SKIP_TAB_UPDATE");
    }
    if (tables) ZRBDesignTable::DestroyList(tables);
  }
}

void ZRBUpdateCreateDialog::ForgetCommand() {
  closed_ = nullptr;
  CloseWindow();
}

void ZRBUpdateCreateDialog::CloseWindow() {
  if (IsDestructionRequested()) return;
  RemoveAllTempProps();
  SetVisibility(CADDlgHide);
  std::function<void()> closed = std::move(closed_);
  closed_ = nullptr;
  runner_ = nullptr;
  RequestDelayedDestruction();
  if (closed) closed();
}
