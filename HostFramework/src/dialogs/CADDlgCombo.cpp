#include "CADDlgCombo.h"

void CADDlgCombo::SetLine(const CADUnicodeString& text) {
  lines_.push_back(text);
  if (selected_ < 0) selected_ = 0;
}

CADUnicodeString CADDlgCombo::GetLine(int row) const {
  if (row < 0 || row >= GetLineCount()) return CADUnicodeString();
  return lines_[static_cast<size_t>(row)];
}

CADListValCADUnicodeString CADDlgCombo::GetLines() const {
  CADListValCADUnicodeString lines;
  for (const auto& line : lines_) lines.Append(line);
  return lines;
}

void CADDlgCombo::ClearLine() {
  lines_.clear();
  selected_ = -1;
}

void CADDlgCombo::SetSelect(int row) {
  if (row >= 0 && row < GetLineCount()) selected_ = row;
}
