#include "CADDlgDialog.h"

#include <algorithm>

#include "CADMsgCatalog.h"

namespace {
// Live windows in creation order. User-interface thread only.
std::vector<CADDlgDialog*>& Windows() {
  static std::vector<CADDlgDialog*> windows;
  return windows;
}
long& ShowCounter() {
  static long counter = 0;
  return counter;
}
}  // namespace

CADDlgDialog::CADDlgDialog(CADDialog* parent, const CADString& identifier, unsigned long style)
    : CADDialog(parent, identifier), style_(style) {
  // A window is created hidden and opens when shown.
  CADDialog::SetVisibility(CADDlgHide);
  Windows().push_back(this);
}

CADDlgDialog::~CADDlgDialog() {
  auto& windows = Windows();
  windows.erase(std::remove(windows.begin(), windows.end(), this), windows.end());
}

bool CADDlgDialog::HasWindowButton(CADDlgEvent button) const {
  switch (button) {
    case CADDlgEvent::OK:
      return (style_ & (CADDlgWndBtnOKCancel | CADDlgWndBtnOK)) != 0;
    case CADDlgEvent::Cancel:
      return (style_ & CADDlgWndBtnOKCancel) != 0;
    case CADDlgEvent::Close:
      return (style_ & CADDlgWndBtnClose) != 0;
    case CADDlgEvent::Apply:
      return (style_ & CADDlgWndBtnApply) != 0;
    default:
      return false;
  }
}

void CADDlgDialog::SetVisibility(CADDlgVisibility state) {
  if (state == CADDlgShow && GetVisibility() == CADDlgHide) shownOrder_ = ++ShowCounter();
  CADDialog::SetVisibility(state);
}

bool CADDlgDialog::IsOpen() const { return GetVisibility() == CADDlgShow && !IsDestructionRequested(); }

std::vector<CADDlgDialog*> CADDlgDialog::GetOpenWindows() {
  std::vector<CADDlgDialog*> open;
  for (CADDlgDialog* w : Windows())
    if (w->IsOpen()) open.push_back(w);
  std::stable_sort(open.begin(), open.end(),
                   [](const CADDlgDialog* a, const CADDlgDialog* b) { return a->shownOrder_ < b->shownOrder_; });
  return open;
}

std::vector<CADDlgDialog*> CADDlgDialog::GetAllWindows() { return Windows(); }

CADListValCADString CADDlgDialog::GetResourceFilename() const { return CADListValCADString{}; }

CADUnicodeString CADDlgDialog::LookupResourceText(const CADString& key, const CADUnicodeString& fallback) const {
  for (const CADString& catalog : GetResourceFilename()) {
    CADUnicodeString text;
    if (CADMsgCatalog::GetText(catalog, key, text)) return text;
  }
  return fallback;
}

namespace {
void ApplyTitles(CADDlgDialog& window, CADDialog& object) {
  for (CADDialog* child : object.GetChildren()) {
    if (child->IsWindow()) continue;  // a window inside labels itself
    if (child->GetTitle().IsEmpty()) {
      CADUnicodeString title = window.LookupResourceText(child->GetResourcePath() + ".Title");
      if (!title.IsEmpty()) child->SetTitle(title);
    }
    ApplyTitles(window, *child);
  }
}
}  // namespace

void CADDlgDialog::ApplyResourceTitles() {
  if (GetTitle().IsEmpty()) {
    CADUnicodeString title = LookupResourceText("Title");
    if (!title.IsEmpty()) SetTitle(title);
  }
  ApplyTitles(*this, *this);
}
