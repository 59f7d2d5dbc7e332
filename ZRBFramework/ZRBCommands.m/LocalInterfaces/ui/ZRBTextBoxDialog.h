// A dialog on the main window that asks for one line of text, for an editor. The command that opens it
// subscribes to its OK, Cancel and window-close notifications and reads the text.
#pragma once

#include "CADDlgDialog.h"

class CADDlgEditor;
class CADDlgLabel;
class CADFrmEditor;

class ZRBTextBoxDialog : public CADDlgDialog {
 public:
  // --- lifecycle: a child of the main window (top-level when the session has none).
  explicit ZRBTextBoxDialog(CADFrmEditor* editor);
  void Build();

  // --- content
  void SetLabel(const CADUnicodeString& text);
  // The editor field's text; empty before Build.
  CADUnicodeString GetText() const;
  // The host editor given at construction (not owned).
  CADFrmEditor* Get_m_pEditor() const { return m_pEditor; }

  CADListValCADString GetResourceFilename() const override;

 private:
  CADFrmEditor* m_pEditor;
  // Owned by the dialog's tree; null before Build.
  CADDlgEditor* field_ = nullptr;
  CADDlgLabel* label_ = nullptr;
};
