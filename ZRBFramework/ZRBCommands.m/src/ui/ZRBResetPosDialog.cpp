#include "ZRBResetPosDialog.h"

#include "CADApplicationFrame.h"
#include "CADDlgFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADFrmEditor.h"
#include "ZRBAfx.h"
#include "ZRBCommandStates.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBProductPositions.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
constexpr unsigned long kDialogStyle = CADDlgWndGrid | CADDlgWndModal | CADDlgWndBtnOKCancel;
constexpr int kMark = 0, kParent = 1, kChild = 2, kName = 3;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}

CADUnicodeString Text(const char* key) {
  return ZRBAfxBase::BuildMessage("ZRBResetPosDialog", CADString("ZRBResetPosDialog.") + key);
}
}  // namespace

ZRBResetPosDialog::ZRBResetPosDialog(const CADListValCADUnicodeString& parentPartNumbers,
                                     const CADListValCADUnicodeString& childPartNumbers,
                                     const CADListValCADUnicodeString& instanceNames, Continuation continuation)
    : CADDlgDialog(MainWindow(), "ZRBResetPosDialog", kDialogStyle), continuation_(std::move(continuation)) {
  yes_ = Text("YesString");
  no_ = Text("NoString");
  if (yes_.IsEmpty()) yes_ = "YES";
  if (no_.IsEmpty()) no_ = "NO";
  if (yes_ == no_) {
    yes_ = "YES";
    no_ = "NO";
  }
  const int count = instanceNames.Size();
  if (count == 0 || parentPartNumbers.Size() != count || childPartNumbers.Size() != count) return;

  auto* tabs = new CADDlgTabContainer(this, "ResetPosTabContainer");
  auto* page = new CADDlgTabPage(tabs, "MatrixTabPage");
  new CADDlgLabel(page, "MatrixEmptyLabel");
  auto* listFrame = new CADDlgFrame(page, "MatrixUpdFrame");
  auto* buttonFrame = new CADDlgFrame(page, "MatrixButtonFrame");
  list_ = new CADDlgMultiList(listFrame, "MatrixToBeUpdated", CADDlgLstMultisel);
  list_->SetColumnTitles({Text("ColumnReset"), Text("ColumnParent"), Text("ColumnChild"), Text("ColumnInstance")});
  toggle_ = new CADDlgPushButton(buttonFrame, "MatrixToggleButton");
  toggle_->SetSensitivity(CADDlgDisable);
  list_->Connect(
      CADDlgEvent::SelectionChanged, [this](CADDialog&) { OnMatrixMultiListListItemSelect(); }, this);
  toggle_->Connect(
      CADDlgEvent::Push, [this](CADDialog&) { PosToggleLine(); }, this);
  Connect(
      CADDlgEvent::OK, [this](CADDialog&) { OnOKNotification(); }, this);
  auto cancel = [this](CADDialog&) { OnCANCELNotification(); };
  Connect(CADDlgEvent::Cancel, cancel, this);
  Connect(CADDlgEvent::WindowClose, cancel, this);
  for (int i = 1; i <= count; ++i) PosAddRelation(parentPartNumbers[i], childPartNumbers[i], instanceNames[i]);
  ApplyResourceTitles();
  SetVisibility(CADDlgShow);
}

CADListValCADString ZRBResetPosDialog::GetResourceFilename() const { return CADListValCADString{"ZRBResetPosDialog"}; }

void ZRBResetPosDialog::PosAddRelation(const CADUnicodeString& parentPartNumber,
                                       const CADUnicodeString& childPartNumber, const CADUnicodeString& instanceName) {
  if (list_) list_->AddRow({yes_, parentPartNumber, childPartNumber, instanceName});
}

void ZRBResetPosDialog::PosToggleLine() {
  if (!list_) return;
  for (int row : list_->GetSelect()) list_->SetCell(row, kMark, list_->GetCell(row, kMark) == yes_ ? no_ : yes_);
}

void ZRBResetPosDialog::OnMatrixMultiListListItemSelect() {
  if (!list_) return;
  if (list_->GetSelectCount() == 0) {
    ZRBPSNTreeUtil::UnselectInstancesInActWindow();
    toggle_->SetSensitivity(CADDlgDisable);
    return;
  }
  CADListValCADUnicodeString names;
  for (int row : list_->GetSelect()) names.Append(list_->GetCell(row, kName));
  ZRBPSNTreeUtil::SelectInstanceInActWindow(names, 0);
  toggle_->SetSensitivity(CADDlgEnable);
}

void ZRBResetPosDialog::OnOKNotification() {
  ZRB_TRACE("ZRBResetPosDialog::OnOKNotification");
  CADIProduct_var root;
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  int result = 1;
  if (!list_ || !editor || FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(editor->GetDocument(), &root)) || !root)
    result = 0;
  for (int row = 0; list_ && row < list_->GetRowCount(); ++row) {
    if (!(list_->GetCell(row, kMark) == yes_)) {
      CADUnicodeString parameters[2] = {list_->GetCell(row, kChild), list_->GetCell(row, kName)};
      messages_.Append(ZRBAfxBase::BuildMessage("ZRBResetInvalidPosCmd",
                                                "ZRBResetInvalidPosCmd.PositionNotResetOnUserRequest", parameters, 2));
      continue;
    }
    int matched = 0;
    if (!root ||
        !ResetPosition(root, list_->GetCell(row, kParent), list_->GetCell(row, kChild), list_->GetCell(row, kName),
                       matched) ||
        matched == 0)
      result = 0;
  }
  Finish(result);
}

void ZRBResetPosDialog::OnCANCELNotification() {
  messages_.Append(ZRBAfxBase::BuildMessage("ZRBResetInvalidPosCmd", "ZRBResetInvalidPosCmd.Cancel"));
  Finish(0);
}

void ZRBResetPosDialog::Finish(int result) {
  SetVisibility(CADDlgHide);
  Continuation continuation = std::move(continuation_);
  continuation_ = nullptr;
  if (continuation) continuation(result, messages_);
  RequestDelayedDestruction();
}

int ZRBResetPosDialog::ResetPosition(const CADIProduct_var& product, const CADUnicodeString& parentPartNumber,
                                     const CADUnicodeString& childPartNumber, const CADUnicodeString& instanceName,
                                     int& matched) {
  if (!product) return 0;
  static const double* identity = [] {
    static double values[12];
    ZRBPosMatrixUtil::ConvertToMatrix(ZRBPosMatrixUtil::kIdentityText, values);
    return values;
  }();
  int result = 1;
  const CADListValCADBaseUnknown_var children = product->GetChildren();
  const bool parentMatches = GlobPropertyManager.GetPartNumber(product, 0) == parentPartNumber;
  for (int i = children.Size(); i >= 1; --i) {
    CADIProduct_var child(children[i]);
    if (!child) continue;
    if (parentMatches && ZRBCommandStates::IsPartLikeType(GlobPropertyManager.GetProductType(child)) &&
        GlobPropertyManager.GetInstanceProperty(product, child, "ZRB_RELATION").IsEmpty() &&
        GlobPropertyManager.GetPartNumber(child, 0) == childPartNumber) {
      CADUnicodeString name;
      child->GetPrdInstanceName(name);
      if (name == instanceName) {
        ++matched;
        if (!ZRBProductPositions::MoveProduct(child, product, identity)) result = 0;
      }
    }
    if (!GlobPropertyManager.IsArchiveRoot(child) &&
        !ResetPosition(child, parentPartNumber, childPartNumber, instanceName, matched))
      result = 0;
  }
  return result;
}
