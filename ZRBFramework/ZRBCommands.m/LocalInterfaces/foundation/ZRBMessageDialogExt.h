// The message centre owned by an editor: a line may carry a host object (its path in the editor's tree), which
// is selected in the editor when the line is chosen.
#pragma once

#include <vector>

#include "CADFrmEditor.h"
#include "CADPathElement.h"
#include "ZRBMessageDialog.h"

class ZRBMessageDialogExt : public ZRBMessageDialog {
 public:
  ZRBMessageDialogExt(CADDialog* parent, CADFrmEditor* editor);
  CADFrmEditor* GetEditor() const { return editor_.get(); }

  // --- filling: every line of the text carries the object (an empty path carries none).
  void AddWarning(const CADUnicodeString& text) override { AddWarning(text, CADPathElement()); }
  void AddInformation(const CADUnicodeString& text) override { AddInformation(text, CADPathElement()); }
  void AddWarning(const CADUnicodeString& text, const CADPathElement& object);
  void AddInformation(const CADUnicodeString& text, const CADPathElement& object);
  CADListValCADString GetResourceFilename() const override;

 protected:
  void OnLineSelected(Page page, int row) override;

 private:
  void Attach(Page page, int linesBefore, const CADPathElement& object);

  CADVar<CADFrmEditor> editor_;  // a reference, so the editor outlives its dialog
  // Per page, the object of each list line (row-aligned). User-interface thread only.
  std::vector<CADPathElement> objects_[2];
};
