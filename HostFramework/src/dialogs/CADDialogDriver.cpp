#include "CADDialogDriver.h"

// GCC 12 at -O3 reports false overlaps in "literal" + std::string (its bug 105329); the messages below are
// built that way throughout.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ == 12
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

#include <cstdio>
#include <sstream>

#include "CADDlgCheckButton.h"
#include "CADDlgCombo.h"
#include "CADDlgDialog.h"
#include "CADDlgEditor.h"
#include "CADDlgFile.h"
#include "CADDlgMultiList.h"
#include "CADDlgPushButton.h"
#include "CADDlgReaper.h"
#include "CADDlgRowList.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"

namespace {

std::string Quote(std::string_view s) {
  std::string quoted;
  quoted.reserve(s.size() + 2);
  quoted += '"';
  quoted += s;
  quoted += '"';
  return quoted;
}

CADDialog* FindByPath(CADDialog& window, std::string_view path) {
  CADDialog* at = &window;
  while (!path.empty()) {
    size_t dot = path.find('.');
    std::string_view part = path.substr(0, dot);
    CADDialog* next = nullptr;
    for (CADDialog* child : at->GetChildren())
      if (child->GetName().view() == part) {
        next = child;
        break;
      }
    if (!next) return nullptr;
    at = next;
    path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
  }
  return at;
}

void DescribeInto(std::ostringstream& out, const CADDialog& object, int depth) {
  out << std::string(static_cast<size_t>(depth) * 2, ' ') << object.GetKind() << ' ' << Quote(object.GetName().view());
  if (!object.GetTitle().IsEmpty()) out << " title=" << Quote(object.GetTitle().view());
  if (object.GetSensitivity() == CADDlgDisable) out << " insensitive";
  if (object.GetVisibility() == CADDlgHide) out << " hidden";
  if (!object.GetIconName().IsEmpty()) out << " icon=" << object.GetIconName();
  if (auto* list = dynamic_cast<const CADDlgRowList*>(&object)) {
    out << " rows=" << list->GetRowCount();
    for (int r = 0; r < list->GetRowCount() && r < 20; ++r) {
      out << "\n" << std::string(static_cast<size_t>(depth) * 2 + 4, ' ') << (list->IsSelected(r) ? "* " : "  ");
      for (int c = 0; c < list->GetColumnCount(); ++c) out << (c ? " | " : "") << list->GetCell(r, c);
    }
  }
  if (auto* editor = dynamic_cast<const CADDlgEditor*>(&object)) out << " text=" << Quote(editor->GetText().view());
  if (auto* check = dynamic_cast<const CADDlgCheckButton*>(&object))
    out << (check->GetState() == CADDlgCheck ? " checked" : " unchecked");
  if (auto* page = dynamic_cast<const CADDlgTabPage*>(&object)) out << (page->IsSelected() ? " selected" : "");
  out << "\n";
  for (const CADDialog* child : object.GetChildren()) DescribeInto(out, *child, depth + 1);
}

}  // namespace

CADDialogDriver::CADDialogDriver()
    : onFailure_([](const std::string& message) { std::fprintf(stderr, "CADDialogDriver: %s\n", message.c_str()); }) {}

void CADDialogDriver::Fail(const std::string& message) const {
  failures_.push_back(message);
  if (onFailure_) onFailure_(message);
}

void CADDialogDriver::Settle() const { CADDlgReaper::Flush(); }

CADDlgDialog* CADDialogDriver::FindDialog(std::string_view dialog) const {
  auto open = CADDlgDialog::GetOpenWindows();
  for (auto it = open.rbegin(); it != open.rend(); ++it)
    if ((*it)->GetName().view() == dialog) return *it;
  return nullptr;
}

CADDialog* CADDialogDriver::FindControl(std::string_view dialog, std::string_view control) const {
  CADDlgDialog* window = FindDialog(dialog);
  if (!window) return nullptr;
  if (control.empty()) return window;
  if (CADDialog* byPath = FindByPath(*window, control)) return byPath;
  return window->FindDescendant(control);
}

CADDialog* CADDialogDriver::Locate(std::string_view dialog, std::string_view control) const {
  CADDlgDialog* window = FindDialog(dialog);
  if (!window) {
    std::string open;
    for (CADDlgDialog* w : CADDlgDialog::GetOpenWindows()) open += " " + Quote(w->GetName().view());
    Fail("no open dialog " + Quote(dialog) + (open.empty() ? " (none is open)" : " (open:" + open + ")"));
    return nullptr;
  }
  CADDialog* found = FindControl(dialog, control);
  if (!found) Fail("dialog " + Quote(dialog) + " has no control " + Quote(control) + "\n" + Describe(*window));
  return found;
}

template <class T>
T* CADDialogDriver::LocateAs(std::string_view dialog, std::string_view control, const char* what) const {
  CADDialog* object = Locate(dialog, control);
  if (!object) return nullptr;
  T* typed = dynamic_cast<T*>(object);
  if (!typed)
    Fail(Quote(control) + " in " + Quote(dialog) + " is a " + object->GetKind() + ", not " + std::string(what));
  return typed;
}

CADDialog* CADDialogDriver::Reach(std::string_view dialog, std::string_view control, const char* action) const {
  CADDialog* object = Locate(dialog, control);
  if (!object) return nullptr;
  if (!object->IsEffectivelyVisible()) {
    Fail(std::string(action) + " rejected: " + Quote(control) + " in " + Quote(dialog) + " is not visible");
    return nullptr;
  }
  if (!object->IsEffectivelySensitive()) {
    Fail(std::string(action) + " rejected: " + Quote(control) + " in " + Quote(dialog) + " is insensitive");
    return nullptr;
  }
  return object;
}

// --- actions

bool CADDialogDriver::Push(std::string_view dialog, std::string_view button) {
  CADDialog* object = Reach(dialog, button, "push");
  if (!object) return false;
  if (!dynamic_cast<CADDlgPushButton*>(object)) {
    Fail("push rejected: " + Quote(button) + " is a " + object->GetKind() + ", not a push button");
    return false;
  }
  object->Notify(CADDlgEvent::Push);
  Settle();
  return true;
}

bool CADDialogDriver::SetCheck(std::string_view dialog, std::string_view checkButton, bool checked) {
  CADDialog* object = Reach(dialog, checkButton, "check");
  auto* check = dynamic_cast<CADDlgCheckButton*>(object);
  if (!check) {
    if (object) Fail("check rejected: " + Quote(checkButton) + " is not a check button");
    return false;
  }
  CADDlgCheckState wanted = checked ? CADDlgCheck : CADDlgUncheck;
  if (check->GetState() != wanted) {  // clicking an already set box changes nothing
    check->SetState(wanted);
    check->Notify(CADDlgEvent::CheckChanged);
  }
  Settle();
  return true;
}

bool CADDialogDriver::SelectRows(std::string_view dialog, std::string_view list, const std::vector<int>& rows) {
  CADDialog* object = Reach(dialog, list, "select");
  auto* rowList = dynamic_cast<CADDlgRowList*>(object);
  if (!rowList) {
    if (object) Fail("select rejected: " + Quote(list) + " is not a list");
    return false;
  }
  if (rows.size() > 1 && !rowList->IsMultiSelect()) {
    Fail("select rejected: " + Quote(list) + " takes one row at a time");
    return false;
  }
  for (int r : rows)
    if (r < 0 || r >= rowList->GetRowCount()) {
      Fail("select rejected: " + Quote(list) + " has no row " + std::to_string(r) +
           " (rows: " + std::to_string(rowList->GetRowCount()) + ")");
      return false;
    }
  rowList->SetSelect(rows);
  rowList->Notify(CADDlgEvent::SelectionChanged);
  Settle();
  return true;
}

bool CADDialogDriver::ActivateRow(std::string_view dialog, std::string_view list, int row) {
  CADDialog* object = Reach(dialog, list, "activate");
  auto* rowList = dynamic_cast<CADDlgRowList*>(object);
  if (!rowList) {
    if (object) Fail("activate rejected: " + Quote(list) + " is not a list");
    return false;
  }
  if (row < 0 || row >= rowList->GetRowCount()) {
    Fail("activate rejected: " + Quote(list) + " has no row " + std::to_string(row));
    return false;
  }
  // A double click selects the row first, as the user sees it.
  if (!(rowList->GetSelectCount() == 1 && rowList->IsSelected(row))) {
    rowList->SetSelect({row});
    rowList->Notify(CADDlgEvent::SelectionChanged);
  }
  rowList->Notify(CADDlgEvent::Activate);
  Settle();
  return true;
}

bool CADDialogDriver::SelectTab(std::string_view dialog, std::string_view page) {
  CADDialog* object = Locate(dialog, page);
  auto* tab = dynamic_cast<CADDlgTabPage*>(object);
  if (!tab || !tab->GetContainer()) {
    if (object) Fail("tab rejected: " + Quote(page) + " is not a tab page");
    return false;
  }
  CADDlgTabContainer* container = tab->GetContainer();
  // The tab itself is reachable when its container is and it is not hidden or disabled itself.
  if (!container->IsEffectivelyVisible() || tab->GetVisibility() == CADDlgHide) {
    Fail("tab rejected: " + Quote(page) + " in " + Quote(dialog) + " is not visible");
    return false;
  }
  if (!container->IsEffectivelySensitive() || tab->GetSensitivity() == CADDlgDisable) {
    Fail("tab rejected: " + Quote(page) + " in " + Quote(dialog) + " is insensitive");
    return false;
  }
  if (container->GetSelectedPage() != tab) {
    container->SetSelectedPage(tab);
    container->Notify(CADDlgEvent::SelectionChanged);
  }
  Settle();
  return true;
}

bool CADDialogDriver::SelectComboLine(std::string_view dialog, std::string_view combo, int line) {
  CADDialog* object = Reach(dialog, combo, "combo");
  auto* box = dynamic_cast<CADDlgCombo*>(object);
  if (!box) {
    if (object) Fail("combo rejected: " + Quote(combo) + " is not a combo");
    return false;
  }
  if (line < 0 || line >= box->GetLineCount()) {
    Fail("combo rejected: " + Quote(combo) + " has no line " + std::to_string(line));
    return false;
  }
  box->SetSelect(line);
  box->Notify(CADDlgEvent::SelectionChanged);
  Settle();
  return true;
}

bool CADDialogDriver::TypeText(std::string_view dialog, std::string_view editor, const CADUnicodeString& text) {
  CADDialog* object = Reach(dialog, editor, "type");
  auto* field = dynamic_cast<CADDlgEditor*>(object);
  if (!field) {
    if (object) Fail("type rejected: " + Quote(editor) + " is not an editor");
    return false;
  }
  if (field->IsReadOnly()) {
    Fail("type rejected: " + Quote(editor) + " in " + Quote(dialog) + " is read-only");
    return false;
  }
  field->SetText(text);
  field->Notify(CADDlgEvent::TextModified);
  Settle();
  return true;
}

bool CADDialogDriver::PressWindowButton(std::string_view dialog, CADDlgEvent button) {
  CADDlgDialog* window = FindDialog(dialog);
  if (!window) {
    Locate(dialog, "");
    return false;
  }
  bool own = dynamic_cast<CADDlgFile*>(window) && (button == CADDlgEvent::OK || button == CADDlgEvent::Cancel);
  if (!own && !window->HasWindowButton(button)) {
    Fail(std::string("button rejected: ") + Quote(dialog) + " has no " + CADDlgEventName(button) + " button");
    return false;
  }
  if (!window->IsEffectivelySensitive()) {
    Fail(std::string("button rejected: ") + Quote(dialog) + " is insensitive");
    return false;
  }
  window->Notify(button);
  Settle();
  return true;
}

bool CADDialogDriver::CloseWindow(std::string_view dialog) {
  CADDlgDialog* window = FindDialog(dialog);
  if (!window) {
    Locate(dialog, "");
    return false;
  }
  window->Notify(CADDlgEvent::WindowClose);
  Settle();
  return true;
}

bool CADDialogDriver::ChooseFile(std::string_view dialog, const CADUnicodeString& path) {
  auto* chooser = dynamic_cast<CADDlgFile*>(FindDialog(dialog));
  if (!chooser) {
    Fail("choose rejected: no open file dialog " + Quote(dialog));
    return false;
  }
  chooser->SetSelection(path);
  return PressWindowButton(dialog, CADDlgEvent::OK);
}

// --- reading

CADUnicodeString CADDialogDriver::GetTitle(std::string_view dialog, std::string_view control) const {
  CADDialog* object = Locate(dialog, control);
  return object ? object->GetTitle() : CADUnicodeString();
}

CADUnicodeString CADDialogDriver::GetCell(std::string_view dialog, std::string_view list, int row, int column) const {
  auto* rowList = LocateAs<CADDlgRowList>(dialog, list, "a list");
  if (!rowList) return CADUnicodeString();
  if (row < 0 || row >= rowList->GetRowCount() || column < 0 || column >= rowList->GetColumnCount())
    Fail("cell (" + std::to_string(row) + ", " + std::to_string(column) + ") is outside " + Quote(list));
  return rowList->GetCell(row, column);
}

int CADDialogDriver::GetRowCount(std::string_view dialog, std::string_view list) const {
  auto* rowList = LocateAs<CADDlgRowList>(dialog, list, "a list");
  return rowList ? rowList->GetRowCount() : 0;
}

CADListValCADUnicodeString CADDialogDriver::GetLines(std::string_view dialog, std::string_view control) const {
  CADListValCADUnicodeString lines;
  CADDialog* object = Locate(dialog, control);
  if (!object) return lines;
  if (auto* list = dynamic_cast<CADDlgRowList*>(object)) {
    for (int r = 0; r < list->GetRowCount(); ++r) lines.Append(list->GetCell(r, 0));
  } else if (auto* combo = dynamic_cast<CADDlgCombo*>(object)) {
    lines = combo->GetLines();
  } else if (auto* editor = dynamic_cast<CADDlgEditor*>(object)) {
    lines = editor->GetLines();
  } else {
    Fail(Quote(control) + " is a " + object->GetKind() + ", which has no lines");
  }
  return lines;
}

CADUnicodeString CADDialogDriver::GetText(std::string_view dialog, std::string_view editor) const {
  auto* field = LocateAs<CADDlgEditor>(dialog, editor, "an editor");
  return field ? field->GetText() : CADUnicodeString();
}

std::vector<int> CADDialogDriver::GetSelectedRows(std::string_view dialog, std::string_view list) const {
  auto* rowList = LocateAs<CADDlgRowList>(dialog, list, "a list");
  return rowList ? rowList->GetSelect() : std::vector<int>();
}

bool CADDialogDriver::GetCheck(std::string_view dialog, std::string_view checkButton) const {
  auto* check = LocateAs<CADDlgCheckButton>(dialog, checkButton, "a check button");
  return check && check->GetState() == CADDlgCheck;
}

int CADDialogDriver::GetComboSelection(std::string_view dialog, std::string_view combo) const {
  auto* box = LocateAs<CADDlgCombo>(dialog, combo, "a combo");
  return box ? box->GetSelect() : -1;
}

CADString CADDialogDriver::GetSelectedTab(std::string_view dialog, std::string_view container) const {
  auto* tabs = LocateAs<CADDlgTabContainer>(dialog, container, "a tab container");
  return tabs && tabs->GetSelectedPage() ? tabs->GetSelectedPage()->GetName() : CADString();
}

bool CADDialogDriver::IsSensitive(std::string_view dialog, std::string_view control) const {
  CADDialog* object = Locate(dialog, control);
  return object && object->IsEffectivelySensitive();
}

bool CADDialogDriver::IsVisible(std::string_view dialog, std::string_view control) const {
  CADDialog* object = Locate(dialog, control);
  return object && object->IsEffectivelyVisible();
}

CADString CADDialogDriver::GetIcon(std::string_view dialog, std::string_view control) const {
  CADDialog* object = Locate(dialog, control);
  return object ? object->GetIconName() : CADString();
}

int CADDialogDriver::GetVisibleTextWidth(std::string_view dialog, std::string_view control) const {
  CADDialog* object = Locate(dialog, control);
  if (auto* list = dynamic_cast<CADDlgRowList*>(object)) return list->GetVisibleTextWidth();
  if (auto* editor = dynamic_cast<CADDlgEditor*>(object)) return editor->GetVisibleTextWidth();
  if (object) Fail(Quote(control) + " has no text width");
  return 0;
}

std::string CADDialogDriver::Describe(const CADDialog& object) {
  std::ostringstream out;
  DescribeInto(out, object, 0);
  return out.str();
}
