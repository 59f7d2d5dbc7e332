// A one-column list of lines.
#pragma once

#include "CADDlgRowList.h"
#include "CADListVal.h"

class CADDlgSelectorList : public CADDlgRowList {
 public:
  CADDlgSelectorList(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDlgRowList(parent, identifier, style, 1) {}
  const char* GetKind() const override { return "SelectorList"; }

  // Appends a line (row -1) or replaces line `row`; returns the line's index, -1 for a row outside the list.
  int SetLine(const CADUnicodeString& text, int row = -1);
  CADUnicodeString GetLine(int row) const { return GetCell(row, 0); }
  int GetLineCount() const { return GetRowCount(); }
  CADListValCADUnicodeString GetLines() const;
  void ClearLine() { ClearRows(); }
};
