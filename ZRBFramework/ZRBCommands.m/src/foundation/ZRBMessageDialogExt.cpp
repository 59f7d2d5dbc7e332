#include "ZRBMessageDialogExt.h"

#include "CADCSO.h"
#include "CADDlgSelectorList.h"

ZRBMessageDialogExt::ZRBMessageDialogExt(CADDialog* parent, CADFrmEditor* editor)
    : ZRBMessageDialog(parent), editor_(editor) {}

CADListValCADString ZRBMessageDialogExt::GetResourceFilename() const {
  return CADListValCADString{"ZRBMessageDialogExt", "ZRBMessageDialog"};
}

void ZRBMessageDialogExt::Attach(Page page, int linesBefore, const CADPathElement& object) {
  CADDlgSelectorList* list = GetList(page);
  auto& objects = objects_[page];
  objects.resize(static_cast<size_t>(linesBefore));
  objects.resize(static_cast<size_t>(list->GetLineCount()), object);
}

void ZRBMessageDialogExt::AddWarning(const CADUnicodeString& text, const CADPathElement& object) {
  if (!IsBuilt()) return;
  int before = GetList(WarningPage)->GetLineCount();
  ZRBMessageDialog::AddWarning(text);
  Attach(WarningPage, before, object);
}

void ZRBMessageDialogExt::AddInformation(const CADUnicodeString& text, const CADPathElement& object) {
  if (!IsBuilt()) return;
  int before = GetList(InformationPage)->GetLineCount();
  ZRBMessageDialog::AddInformation(text);
  Attach(InformationPage, before, object);
}

void ZRBMessageDialogExt::OnLineSelected(Page page, int row) {
  ZRBMessageDialog::OnLineSelected(page, row);
  if (!editor_ || row < 0 || row >= static_cast<int>(objects_[page].size())) return;
  const CADPathElement& object = objects_[page][static_cast<size_t>(row)];
  if (object.IsEmpty()) return;
  CADCSO* cso = editor_->GetCSO();
  cso->Empty();
  cso->AddElement(object);
}
