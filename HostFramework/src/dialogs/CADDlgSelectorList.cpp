#include "CADDlgSelectorList.h"

int CADDlgSelectorList::SetLine(const CADUnicodeString& text, int row) {
  if (row < 0) return AddRow({text});
  return SetCell(row, 0, text) ? row : -1;
}

CADListValCADUnicodeString CADDlgSelectorList::GetLines() const {
  CADListValCADUnicodeString lines;
  for (int i = 0; i < GetRowCount(); ++i) lines.Append(GetCell(i, 0));
  return lines;
}
