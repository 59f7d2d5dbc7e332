#include "ZRBTextBoxDialog.h"

#include "CADApplicationFrame.h"
#include "CADDlgEditor.h"
#include "CADDlgLabel.h"
#include "ZRBTrace.h"

namespace {
constexpr unsigned long kTextBoxStyle = 0x2400201;
constexpr int kDefaultButton = 1024;

CADDialog* MainWindow() {
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  return frame ? frame->GetMainWindow() : nullptr;
}
}  // namespace

ZRBTextBoxDialog::ZRBTextBoxDialog(CADFrmEditor* editor)
    : CADDlgDialog(MainWindow(), "ZRBTextBoxDialog", kTextBoxStyle), m_pEditor(editor) {}

CADListValCADString ZRBTextBoxDialog::GetResourceFilename() const { return CADListValCADString{"ZRBTextBoxDialog"}; }

void ZRBTextBoxDialog::Build() {
  ZRB_TRACE("ZRBTextBoxDialog::Build");
  if (field_) return;
  field_ = new CADDlgEditor(this, "ZRBTextBoxEditor");
  field_->SetVisibleTextWidth(30);
  field_->SetGridConstraints(1, 0, 1, 1, CADDlgGridFill);
  label_ = new CADDlgLabel(this, "ZRBTextBoxLabel");
  label_->SetGridConstraints(0, 0, 1, 1, CADDlgGridLeft);
  SetDefaultButton(kDefaultButton);
  ApplyResourceTitles();
  ZRB_TRACE_OK();
}

void ZRBTextBoxDialog::SetLabel(const CADUnicodeString& text) {
  if (label_) label_->SetTitle(text);
}

CADUnicodeString ZRBTextBoxDialog::GetText() const { return field_ ? field_->GetText() : CADUnicodeString(); }
