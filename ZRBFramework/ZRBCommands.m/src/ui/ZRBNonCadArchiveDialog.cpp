#include "ZRBNonCadArchiveDialog.h"

#include <algorithm>
#include <set>
#include <string>

#include "CADApplicationFrame.h"
#include "CADDlgCheckButton.h"
#include "CADDlgEditor.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "ZRBAfxBase.h"

namespace {
constexpr unsigned long kDialogStyle = CADDlgWndGrid | CADDlgWndModal | CADDlgWndBtnOKCancel;
constexpr int kName = 0, kDirectory = 1, kState = 2;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

CADUnicodeString Text(const char* catalog, const char* key) {
  return ZRBAfxBase::BuildMessage(catalog, CADString(catalog) + "." + key);
}

CADUnicodeString Joined(const CADUnicodeString& directory, const CADUnicodeString& name) {
  return ZRBAfxBase::MakePath(directory, name);
}
}  // namespace

// ---------------------------------------------------------------- the add dialog

ZRBAddNonCadArchiveDialog::ZRBAddNonCadArchiveDialog(CADDialog* parent, std::vector<ZRBNonCadCandidate> candidates,
                                                     Chosen chosen)
    : CADDlgDialog(parent, "ZRBAddNonCadArchiveDialog", kDialogStyle),
      candidates_(std::move(candidates)),
      chosen_(std::move(chosen)) {
  auto* frame = new CADDlgFrame(this, "ZRBCandidateFrame");
  list_ = new CADDlgMultiList(frame, "NonCadCandidateList", CADDlgLstMultisel);
  list_->SetColumnTitles({Text("ZRBAddNonCadArchiveDialog", "NonCadCandidateList.ColumnTitle1"),
                          Text("ZRBAddNonCadArchiveDialog", "NonCadCandidateList.ColumnTitle2")});
  filter_ = new CADDlgCheckButton(this, "ZRBFilterCadFilesCheck");
  filter_->SetState(CADDlgCheck);
  filter_->Connect(
      CADDlgEvent::CheckChanged, [this](CADDialog&) { Refill(); }, this);
  Connect(
      CADDlgEvent::OK, [this](CADDialog&) { Close(true); }, this);
  auto cancel = [this](CADDialog&) { Close(false); };
  Connect(CADDlgEvent::Cancel, cancel, this);
  Connect(CADDlgEvent::WindowClose, cancel, this);
  Refill();
  ApplyResourceTitles();
  SetVisibility(CADDlgShow);
}

CADListValCADString ZRBAddNonCadArchiveDialog::GetResourceFilename() const {
  return CADListValCADString{"ZRBAddNonCadArchiveDialog"};
}

void ZRBAddNonCadArchiveDialog::Refill() {
  list_->ClearRows();
  list_->ClearSelect();
  shown_.clear();
  const bool filtered = filter_->GetState() == CADDlgCheck;
  for (int i = 0; i < static_cast<int>(candidates_.size()); ++i) {
    if (filtered && candidates_[i].hostDocument) continue;
    list_->AddRow({candidates_[i].name, candidates_[i].directory});
    shown_.push_back(i);
  }
}

void ZRBAddNonCadArchiveDialog::Close(bool ok) {
  SetVisibility(CADDlgHide);
  Chosen chosen = std::move(chosen_);
  chosen_ = nullptr;
  if (ok && chosen) {
    std::vector<ZRBNonCadCandidate> picked;
    for (int row : list_->GetSelect())
      if (row >= 0 && row < static_cast<int>(shown_.size())) picked.push_back(candidates_[shown_[row]]);
    chosen(picked);
  }
  RequestDelayedDestruction();
}

// ---------------------------------------------------------------- the archive's list

ZRBNonCadArchiveDialog::ZRBNonCadArchiveDialog(const CADUnicodeString& archiveName,
                                               const std::vector<ZRBNonCadRow>& rows, Sources sources,
                                               Continuation continuation)
    : CADDlgDialog(MainWindow(), "ZRBNonCadArchiveDialog", kDialogStyle),
      archiveName_(archiveName),
      sources_(std::move(sources)),
      continuation_(std::move(continuation)) {
  new CADDlgLabel(this, "ZRBArchiveNameLabel");
  auto* name = new CADDlgEditor(this, "ZRBArchiveNameEditor", CADDlgEdtReadOnly);
  name->SetText(archiveName);
  list_ = new CADDlgMultiList(this, "NonCadFileList", CADDlgLstMultisel);
  list_->SetColumnTitles({Text("ZRBNonCadArchiveDialog", "NonCadFileList.ColumnTitle1"),
                          Text("ZRBNonCadArchiveDialog", "NonCadFileList.ColumnTitle2"),
                          Text("ZRBNonCadArchiveDialog", "NonCadFileList.ColumnTitle3")});
  for (const ZRBNonCadRow& row : rows) list_->AddRow({row.name, row.directory, row.state});
  auto* buttons = new CADDlgFrame(this, "ZRBButtonFrame");
  auto* add = new CADDlgPushButton(buttons, "ZRBAddNonCadFilesButton");
  auto* remove = new CADDlgPushButton(buttons, "ZRBRemoveNonCadFilesButton");
  add->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnAdd(); }, this);
  remove->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { OnRemove(); }, this);
  Connect(
      CADDlgEvent::OK, [this](CADDialog&) { Finish(1); }, this);
  auto cancel = [this](CADDialog&) { Finish(0); };
  Connect(CADDlgEvent::Cancel, cancel, this);
  Connect(CADDlgEvent::WindowClose, cancel, this);
  ApplyResourceTitles();
  SetVisibility(CADDlgShow);
}

CADListValCADString ZRBNonCadArchiveDialog::GetResourceFilename() const {
  return CADListValCADString{"ZRBNonCadArchiveDialog"};
}

void ZRBNonCadArchiveDialog::OnAdd() {
  std::vector<ZRBNonCadCandidate> candidates = sources_.candidates ? sources_.candidates() : decltype(candidates)();
  // The session still knows the files removed here (the archive changes on OK only): they may come back.
  candidates.insert(candidates.end(), removals_.begin(), removals_.end());
  // Files already listed are no candidates.
  std::set<std::string> listed;
  for (int row = 0; row < list_->GetRowCount(); ++row)
    listed.insert(Joined(list_->GetCell(row, kDirectory), list_->GetCell(row, kName)).str());
  std::erase_if(candidates, [&listed](const ZRBNonCadCandidate& candidate) {
    return listed.count(Joined(candidate.directory, candidate.name).str()) > 0;
  });
  new ZRBAddNonCadArchiveDialog(this, std::move(candidates),
                                [this](const std::vector<ZRBNonCadCandidate>& chosen) { ProcessEndAddDialog(chosen); });
}

void ZRBNonCadArchiveDialog::OnRemove() {
  std::vector<int> rows = list_->GetSelect();
  std::sort(rows.rbegin(), rows.rend());
  for (int row : rows) {
    removals_.push_back({list_->GetCell(row, kName), list_->GetCell(row, kDirectory), false});
    list_->RemoveRow(row);
  }
  list_->ClearSelect();
}

void ZRBNonCadArchiveDialog::ProcessEndAddDialog(const std::vector<ZRBNonCadCandidate>& chosen) {
  std::set<std::string> added;
  for (const ZRBNonCadCandidate& file : chosen) {
    const CADUnicodeString state = sources_.state ? sources_.state(file.name, file.directory) : CADUnicodeString();
    list_->AddRow({file.name, file.directory, state});
    added.insert(Joined(file.directory, file.name).str());
  }
  std::erase_if(removals_, [&added](const ZRBNonCadCandidate& removed) {
    return added.count(Joined(removed.directory, removed.name).str()) > 0;
  });
}

std::vector<ZRBNonCadRow> ZRBNonCadArchiveDialog::Rows() const {
  std::vector<ZRBNonCadRow> rows;
  for (int row = 0; row < list_->GetRowCount(); ++row)
    rows.push_back({list_->GetCell(row, kName), list_->GetCell(row, kDirectory), list_->GetCell(row, kState)});
  return rows;
}

void ZRBNonCadArchiveDialog::Finish(int ok) {
  SetVisibility(CADDlgHide);
  Continuation continuation = std::move(continuation_);
  continuation_ = nullptr;
  if (continuation) continuation(ok, Rows());
  RequestDelayedDestruction();
}
