// The current layout: the open windows in opening order and the current one.
// Plain data of the document library; a display layer may show it.
#pragma once

#include <vector>

#include "CADBaseTypes.h"

class CADDocument;
class CADFrmWindow;

class CADFrmLayout {
 public:
  static CADFrmLayout& GetCurrentLayout();

  // Windows in opening order (the layout keeps them).
  const std::vector<CADFrmWindow*>& GetWindowList() const { return windows_; }
  // Null when no window is open.
  CADFrmWindow* GetCurrentWindow() const { return current_; }
  HRESULT SetCurrentWindow(CADFrmWindow* window);
  // Opens a new window with a new editor on a document of the session and
  // makes it current. E_FAIL for a null document or one not in the session.
  HRESULT OpenWindow(CADDocument* document, CADFrmWindow*& window);
  // Closes a window; the last opened remaining window becomes current. When
  // no other window shows the document and no other document of the session
  // uses it, the document leaves the session.
  HRESULT CloseWindow(CADFrmWindow* window);
  // Windows showing a document (in opening order).
  std::vector<CADFrmWindow*> GetWindowsOf(const CADDocument* document) const;
  // Drops every window (session unload, tests).
  void Reset();

 private:
  friend class CADDocumentServices;
  CADFrmLayout() = default;
  // Takes a window out without touching its document.
  void DropWindow(CADFrmWindow* window);
  std::vector<CADFrmWindow*> windows_;  // one reference held on each
  CADFrmWindow* current_ = nullptr;
};
