#include "CADDlgMultiList.h"

void CADDlgMultiList::SetColumnTitles(const CADListValCADUnicodeString& titles) {
  columnInfo_.resize(static_cast<size_t>(titles.Size()));
  for (int i = 1; i <= titles.Size(); ++i) columnInfo_[static_cast<size_t>(i - 1)].title = titles[i];
  SetColumnCount(titles.Size());
}

CADUnicodeString CADDlgMultiList::GetColumnTitle(int column) const {
  if (column < 0 || column >= static_cast<int>(columnInfo_.size())) return CADUnicodeString();
  return columnInfo_[static_cast<size_t>(column)].title;
}

void CADDlgMultiList::SetColumnVisibility(int column, CADDlgVisibility state) {
  if (column < 0 || column >= static_cast<int>(columnInfo_.size())) return;
  columnInfo_[static_cast<size_t>(column)].visible = state == CADDlgShow;
}

bool CADDlgMultiList::IsColumnVisible(int column) const {
  if (column < 0 || column >= static_cast<int>(columnInfo_.size())) return false;
  return columnInfo_[static_cast<size_t>(column)].visible;
}

void CADDlgMultiList::SetColumnTextWidth(int column, int characters) {
  if (column < 0 || column >= static_cast<int>(columnInfo_.size())) return;
  columnInfo_[static_cast<size_t>(column)].width = characters;
}

int CADDlgMultiList::GetColumnTextWidth(int column) const {
  if (column < 0 || column >= static_cast<int>(columnInfo_.size())) return 0;
  return columnInfo_[static_cast<size_t>(column)].width;
}
