// A dialog on the main window that shows a titled list of texts; closing it destroys it.
#pragma once

#include "CADDlgDialog.h"

class CADDlgLabel;
class CADDlgSelectorList;

class ZRBListBoxDialog : public CADDlgDialog {
 public:
  // --- lifecycle: a child of the main window (top-level when the session has none).
  ZRBListBoxDialog();
  void Build();

  // --- content (nothing happens before Build)
  void SetLabel(const CADUnicodeString& text);
  // Appends a line at the end of the list.
  void AddListItem(const CADUnicodeString& text);

  CADListValCADString GetResourceFilename() const override;

 private:
  // Owned by the dialog's tree; null before Build.
  CADDlgSelectorList* list_ = nullptr;
  CADDlgLabel* label_ = nullptr;
};
