// A list with titled columns, some of which may be hidden (hidden columns carry data for the program).
#pragma once

#include <vector>

#include "CADDlgRowList.h"
#include "CADListVal.h"

class CADDlgMultiList : public CADDlgRowList {
 public:
  CADDlgMultiList(CADDialog* parent, const CADString& identifier, unsigned long style = 0)
      : CADDlgRowList(parent, identifier, style, 0) {}
  const char* GetKind() const override { return "MultiList"; }

  // --- columns: setting the titles sets the number of columns.
  void SetColumnTitles(const CADListValCADUnicodeString& titles);
  CADUnicodeString GetColumnTitle(int column) const;
  void SetColumnVisibility(int column, CADDlgVisibility state);
  bool IsColumnVisible(int column) const;
  void SetColumnTextWidth(int column, int characters);
  int GetColumnTextWidth(int column) const;

 private:
  struct Column {
    CADUnicodeString title;
    bool visible = true;
    int width = 0;
  };
  std::vector<Column> columnInfo_;
};
