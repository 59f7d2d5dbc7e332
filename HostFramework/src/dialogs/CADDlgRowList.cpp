#include "CADDlgRowList.h"

#include <algorithm>

CADDlgRowList::CADDlgRowList(CADDialog* parent, const CADString& identifier, unsigned long style, int columns)
    : CADDialog(parent, identifier), style_(style), columns_(columns < 0 ? 0 : columns) {}

void CADDlgRowList::SetColumnCount(int columns) {
  columns_ = columns < 0 ? 0 : columns;
  for (auto& row : rows_) row.resize(static_cast<size_t>(columns_));
}

int CADDlgRowList::AddRow(const std::vector<CADUnicodeString>& cells) { return InsertRow(GetRowCount(), cells); }

int CADDlgRowList::InsertRow(int row, const std::vector<CADUnicodeString>& cells) {
  if (row < 0 || row > GetRowCount()) return -1;
  std::vector<CADUnicodeString> filled(static_cast<size_t>(columns_));
  for (size_t i = 0; i < filled.size() && i < cells.size(); ++i) filled[i] = cells[i];
  rows_.insert(rows_.begin() + row, std::move(filled));
  for (int& s : selected_)
    if (s >= row) ++s;
  return row;
}

int CADDlgRowList::RemoveRow(int row) {
  if (row < 0 || row >= GetRowCount()) return 0;
  rows_.erase(rows_.begin() + row);
  selected_.erase(std::remove(selected_.begin(), selected_.end(), row), selected_.end());
  for (int& s : selected_)
    if (s > row) --s;
  return 1;
}

void CADDlgRowList::ClearRows() {
  rows_.clear();
  selected_.clear();
  firstVisibleRow_ = 0;
}

CADUnicodeString CADDlgRowList::GetCell(int row, int column) const {
  if (row < 0 || row >= GetRowCount() || column < 0 || column >= columns_) return CADUnicodeString();
  return rows_[static_cast<size_t>(row)][static_cast<size_t>(column)];
}

int CADDlgRowList::SetCell(int row, int column, const CADUnicodeString& text) {
  if (row < 0 || row >= GetRowCount() || column < 0 || column >= columns_) return 0;
  rows_[static_cast<size_t>(row)][static_cast<size_t>(column)] = text;
  return 1;
}

void CADDlgRowList::SetSelect(const std::vector<int>& rows) {
  selected_.clear();
  for (int r : rows) {
    if (r < 0 || r >= GetRowCount() || IsSelected(r)) continue;
    selected_.push_back(r);
    if (!IsMultiSelect()) break;
  }
  std::sort(selected_.begin(), selected_.end());
}

bool CADDlgRowList::IsSelected(int row) const {
  return std::find(selected_.begin(), selected_.end(), row) != selected_.end();
}
