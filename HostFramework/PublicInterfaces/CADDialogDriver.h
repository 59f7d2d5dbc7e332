// Drives open dialogs the way a user would, for tests and the session runner.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "CADDialog.h"
#include "CADListVal.h"

class CADDlgDialog;

// Finds a window by identifier, pushes buttons, selects rows, types text, closes windows, and reads what the
// window shows. An action on a control that the user could not reach (insensitive or hidden, itself or through a
// parent, or on a closed window) is rejected: the driver reports a failure through its handler and nothing
// happens. After each action, objects whose destruction was requested are deleted.
class CADDialogDriver {
 public:
  using FailureHandler = std::function<void(const std::string& message)>;

  // The default handler writes the message to standard error; every failure is also kept (GetFailures).
  CADDialogDriver();
  void SetFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }
  const std::vector<std::string>& GetFailures() const { return failures_; }

  // --- finding. A control is named by its identifier (the first match, depth first) or by a path of
  // identifiers joined with "." below the window ("Tabs.Page.List").
  CADDlgDialog* FindDialog(std::string_view dialog) const;  // the newest open window of that identifier
  bool IsOpen(std::string_view dialog) const { return FindDialog(dialog) != nullptr; }
  CADDialog* FindControl(std::string_view dialog, std::string_view control) const;

  // --- actions; each returns false when rejected.
  bool Push(std::string_view dialog, std::string_view button);
  bool SetCheck(std::string_view dialog, std::string_view checkButton, bool checked);
  bool SelectRows(std::string_view dialog, std::string_view list, const std::vector<int>& rows);
  bool ActivateRow(std::string_view dialog, std::string_view list, int row);
  bool SelectTab(std::string_view dialog, std::string_view page);
  bool SelectComboLine(std::string_view dialog, std::string_view combo, int line);
  bool TypeText(std::string_view dialog, std::string_view editor, const CADUnicodeString& text);
  // Window buttons: CADDlgEvent::OK, Cancel, Close or Apply.
  bool PressWindowButton(std::string_view dialog, CADDlgEvent button);
  // Closing from the window manager (always possible on an open window).
  bool CloseWindow(std::string_view dialog);
  // File chooser: choose `path` and press OK.
  bool ChooseFile(std::string_view dialog, const CADUnicodeString& path);

  // --- reading; a missing dialog or control is reported as a failure and reads empty.
  CADUnicodeString GetTitle(std::string_view dialog, std::string_view control = "") const;
  CADUnicodeString GetCell(std::string_view dialog, std::string_view list, int row, int column) const;
  int GetRowCount(std::string_view dialog, std::string_view list) const;
  // Lines of a list (first column), combo or editor.
  CADListValCADUnicodeString GetLines(std::string_view dialog, std::string_view control) const;
  CADUnicodeString GetText(std::string_view dialog, std::string_view editor) const;
  std::vector<int> GetSelectedRows(std::string_view dialog, std::string_view list) const;
  bool GetCheck(std::string_view dialog, std::string_view checkButton) const;
  int GetComboSelection(std::string_view dialog, std::string_view combo) const;
  CADString GetSelectedTab(std::string_view dialog, std::string_view container) const;
  // As the user sees it: the control and its parents.
  bool IsSensitive(std::string_view dialog, std::string_view control) const;
  bool IsVisible(std::string_view dialog, std::string_view control) const;
  CADString GetIcon(std::string_view dialog, std::string_view control) const;
  int GetVisibleTextWidth(std::string_view dialog, std::string_view control) const;

  // A readable outline of a window (identifiers, kinds, states, contents) for failure messages.
  static std::string Describe(const CADDialog& object);

 private:
  CADDialog* Reach(std::string_view dialog, std::string_view control, const char* action) const;
  CADDialog* Locate(std::string_view dialog, std::string_view control) const;
  template <class T>
  T* LocateAs(std::string_view dialog, std::string_view control, const char* what) const;
  void Fail(const std::string& message) const;
  void Settle() const;

  FailureHandler onFailure_;
  mutable std::vector<std::string> failures_;
};
