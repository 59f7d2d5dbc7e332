#include "CADFrmLayout.h"

#include <algorithm>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADDocumentSession.h"
#include "CADFrmEditor.h"
#include "CADFrmWindow.h"

CADFrmLayout& CADFrmLayout::GetCurrentLayout() {
  // Never destroyed, like the document session its windows show.
  static CADFrmLayout* layout = new CADFrmLayout();
  return *layout;
}

HRESULT CADFrmLayout::SetCurrentWindow(CADFrmWindow* window) {
  if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) return E_FAIL;
  SetCurrent(window);
  return S_OK;
}

void CADFrmLayout::SetCurrent(CADFrmWindow* window) {
  if (current_ == window) return;
  current_ = window;
  Notify(CADFrmLayoutEvent::CurrentWindowChanged, window);
}

int CADFrmLayout::Subscribe(Observer observer) {
  observers_.emplace_back(++nextObserver_, std::move(observer));
  return nextObserver_;
}

void CADFrmLayout::Unsubscribe(int id) {
  for (auto& o : observers_)
    if (o.first == id) o.second = nullptr;
}

void CADFrmLayout::Notify(CADFrmLayoutEvent event, CADFrmWindow* window) {
  // By index and on copies: an observer may subscribe or unsubscribe while it is told.
  for (size_t i = 0; i < observers_.size(); ++i) {
    Observer observer = observers_[i].second;
    if (observer) observer(event, window);
  }
}

HRESULT CADFrmLayout::OpenWindow(CADDocument* document, CADFrmWindow*& window) {
  window = nullptr;
  if (!document || !document->IsInSession()) return E_FAIL;
  CADUnicodeString name = document->GetDisplayName();
  const size_t already = GetWindowsOf(document).size();
  if (already > 0) name += CADUnicodeString::BuildFromNum(":%zu", already + 1);
  CADFrmEditor* editor = new CADFrmEditor(document);
  window = new CADFrmWindow(editor, name);
  editor->Release();  // the window holds it now
  windows_.push_back(window);
  SetCurrent(window);
  return S_OK;
}

void CADFrmLayout::DropWindow(CADFrmWindow* window) {
  auto it = std::find(windows_.begin(), windows_.end(), window);
  if (it == windows_.end()) return;
  Notify(CADFrmLayoutEvent::WindowClosing, window);
  windows_.erase(std::find(windows_.begin(), windows_.end(), window));
  if (current_ == window) SetCurrent(windows_.empty() ? nullptr : windows_.back());
  window->Release();
}

namespace {
// True when a document of the session other than `document` points at it.
bool IsUsedByAnother(const CADDocument* document) {
  for (const auto& other : CADDocumentSession::Get().Documents()) {
    if (other.get() == document) continue;
    auto pointed = other->GetPointedDocuments();
    if (std::find(pointed.begin(), pointed.end(), document) != pointed.end()) return true;
  }
  return false;
}
}  // namespace

HRESULT CADFrmLayout::CloseWindow(CADFrmWindow* window) {
  if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) return E_FAIL;
  CADVar<CADDocument> document(window->GetDocument());
  DropWindow(window);
  // A document nobody shows or uses leaves the session, and with it the
  // documents only it used.
  std::vector<CADVar<CADDocument>> candidates{document};
  while (!candidates.empty()) {
    CADVar<CADDocument> doc = candidates.back();
    candidates.pop_back();
    if (!doc || !doc->IsInSession() || !GetWindowsOf(doc.get()).empty() || IsUsedByAnother(doc.get())) continue;
    std::vector<CADDocument*> pointed = doc->GetPointedDocuments();
    for (CADDocument* p : pointed) candidates.emplace_back(p);
    CADDocumentServices::Remove(doc.get());
  }
  return S_OK;
}

std::vector<CADFrmWindow*> CADFrmLayout::GetWindowsOf(const CADDocument* document) const {
  std::vector<CADFrmWindow*> out;
  for (CADFrmWindow* w : windows_)
    if (w->GetDocument() == document) out.push_back(w);
  return out;
}

void CADFrmLayout::Reset() {
  for (CADFrmWindow* w : std::vector<CADFrmWindow*>(windows_)) Notify(CADFrmLayoutEvent::WindowClosing, w);
  std::vector<CADFrmWindow*> windows;
  windows.swap(windows_);
  current_ = nullptr;
  for (CADFrmWindow* w : windows) w->Release();
}
