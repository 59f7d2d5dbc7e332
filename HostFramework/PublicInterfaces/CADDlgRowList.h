// Common body of the selector list and the multi-column list: rows of text cells, a selection, a scroll position.
#pragma once

#include <vector>

#include "CADDialog.h"

// List style flags of this host.
enum CADDlgListStyle : unsigned long {
  CADDlgLstMultisel = 0x00000010,  // several rows may be selected
};

// Rows and columns count from 0. The user changing the selection fires CADDlgEvent::SelectionChanged;
// double-clicking a row fires CADDlgEvent::Activate. Selecting from code fires nothing.
class CADDlgRowList : public CADDialog {
 public:
  CADDlgRowList(CADDialog* parent, const CADString& identifier, unsigned long style, int columns);
  unsigned long GetStyle() const { return style_; }
  bool IsMultiSelect() const { return (style_ & CADDlgLstMultisel) != 0; }

  // --- rows
  int GetRowCount() const { return static_cast<int>(rows_.size()); }
  int GetColumnCount() const { return columns_; }
  // Appends a row (missing cells are empty, extra cells are dropped); returns its index.
  int AddRow(const std::vector<CADUnicodeString>& cells);
  // Inserts before `row` (0..count); returns the index or -1.
  int InsertRow(int row, const std::vector<CADUnicodeString>& cells);
  // Removes a row; the selection follows the rows that remain. Returns 0 for a row that does not exist.
  int RemoveRow(int row);
  void ClearRows();
  // Cell text; a cell outside the list reads empty and cannot be set (returns 0).
  CADUnicodeString GetCell(int row, int column) const;
  int SetCell(int row, int column, const CADUnicodeString& text);

  // --- selection
  // Replaces the selection (rows outside the list are ignored; a single-selection list keeps the first).
  void SetSelect(const std::vector<int>& rows);
  void ClearSelect() { selected_.clear(); }
  std::vector<int> GetSelect() const { return selected_; }
  int GetSelectCount() const { return static_cast<int>(selected_.size()); }
  bool IsSelected(int row) const;

  // --- display
  void SetVisibleTextWidth(int characters) { visibleTextWidth_ = characters; }
  int GetVisibleTextWidth() const { return visibleTextWidth_; }
  void SetVisibleLineCount(int lines) { visibleLineCount_ = lines; }
  int GetVisibleLineCount() const { return visibleLineCount_; }
  void SetFirstVisibleRow(int row) { firstVisibleRow_ = row; }
  int GetFirstVisibleRow() const { return firstVisibleRow_; }

 protected:
  void SetColumnCount(int columns);

 private:
  unsigned long style_;
  int columns_;
  std::vector<std::vector<CADUnicodeString>> rows_;
  std::vector<int> selected_;
  int visibleTextWidth_ = 0;
  int visibleLineCount_ = 0;
  int firstVisibleRow_ = 0;
};
