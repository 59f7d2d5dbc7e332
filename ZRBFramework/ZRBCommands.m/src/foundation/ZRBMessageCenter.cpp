#include "ZRBMessageCenter.h"

#include "ZRBAfxBase.h"
#include "ZRBMessageDialog.h"
#include "ZRBTrace.h"

ZRBMessageDialog* ZRBMessageCenter::Display(int success, int successVariant, const CADUnicodeString& successText,
                                            const CADUnicodeString& failureText, int failureVariant,
                                            const CADListValCADUnicodeString& warnings,
                                            const CADListValCADUnicodeString& informations) {
  ZRB_TRACE("ZRBCommand::DisplayMessageCenter");
  ZRBMessageDialog* dialog = ZRBAfxBase::ZRBGenMessageDialog();
  if (success) {
    if (successVariant)
      dialog->Build3();
    else
      dialog->Build();
    dialog->SetStatusMessage(successText);
  } else {
    if (failureVariant)
      dialog->Build3();
    else
      dialog->Build2();
    dialog->SetStatusMessage(failureText);
  }

  auto fill = [&](const CADListValCADUnicodeString& entries, ZRBMessageDialog::Page page) {
    if (entries.IsEmpty()) {
      dialog->DisableTabPage(page);
      return;
    }
    CADListValCADUnicodeString lines;
    ZRBAfxBase::BuildDisplayList(entries, lines);
    for (const CADUnicodeString& line : lines) {
      if (page == ZRBMessageDialog::WarningPage)
        dialog->AddWarning(line);
      else
        dialog->AddInformation(line);
    }
  };
  fill(warnings, ZRBMessageDialog::WarningPage);
  fill(informations, ZRBMessageDialog::InformationPage);

  dialog->SetActualPage();
  dialog->SetVisibility(CADDlgShow);
  ZRB_TRACE_OK();
  return dialog;
}
