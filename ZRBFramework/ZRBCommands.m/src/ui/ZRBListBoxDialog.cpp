#include "ZRBListBoxDialog.h"

#include "CADApplicationFrame.h"
#include "CADDlgLabel.h"
#include "CADDlgSelectorList.h"
#include "ZRBTrace.h"

namespace {
constexpr unsigned long kListBoxStyle = 0x10480201;
constexpr int kDefaultButton = 1024;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}
}  // namespace

ZRBListBoxDialog::ZRBListBoxDialog() : CADDlgDialog(MainWindow(), "ZRBListBoxDialog", kListBoxStyle) {
  auto close = [this](CADDialog&) { RequestDelayedDestruction(); };
  Connect(CADDlgEvent::Close, close, this);
  Connect(CADDlgEvent::WindowClose, close, this);
}

CADListValCADString ZRBListBoxDialog::GetResourceFilename() const { return CADListValCADString{"ZRBListBoxDialog"}; }

void ZRBListBoxDialog::Build() {
  ZRB_TRACE("ZRBListBoxDialog::Build");
  if (list_) return;
  list_ = new CADDlgSelectorList(this, "ZRBListBox");
  list_->SetVisibleTextWidth(35);
  list_->SetGridConstraints(1, 0, 1, 1, CADDlgGridFill);
  label_ = new CADDlgLabel(this, "ZRBListBoxTitle");
  label_->SetGridConstraints(0, 0, 1, 1, CADDlgGridLeft);
  SetGridRowResizable(1);
  SetGridColumnResizable(0);
  SetDefaultButton(kDefaultButton);
  ApplyResourceTitles();
  ZRB_TRACE_OK();
}

void ZRBListBoxDialog::SetLabel(const CADUnicodeString& text) {
  if (label_) label_->SetTitle(text);
}

void ZRBListBoxDialog::AddListItem(const CADUnicodeString& text) {
  if (list_) list_->SetLine(text);
}
