// A drop-down list of lines with one selected line; the user choosing a line fires
// CADDlgEvent::SelectionChanged.
#pragma once

#include <vector>

#include "CADDialog.h"
#include "CADListVal.h"

class CADDlgCombo : public CADDialog {
 public:
  CADDlgCombo(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDialog(parent, identifier), style_(style) {}
  const char* GetKind() const override { return "Combo"; }
  unsigned long GetStyle() const { return style_; }

  // Appends a line; the first line becomes the selected one.
  void SetLine(const CADUnicodeString& text);
  int GetLineCount() const { return static_cast<int>(lines_.size()); }
  CADUnicodeString GetLine(int row) const;
  CADListValCADUnicodeString GetLines() const;
  void ClearLine();
  // Selected line, -1 when the combo is empty; a line outside the list is ignored.
  void SetSelect(int row);
  int GetSelect() const { return selected_; }

 private:
  unsigned long style_;
  std::vector<CADUnicodeString> lines_;
  int selected_ = -1;
};
