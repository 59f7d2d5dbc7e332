// The current layout: the open windows in opening order and the current one.
// Plain data of the document library; a display layer may show it.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "CADBaseTypes.h"

class CADDocument;
class CADFrmWindow;

// What the layout tells its subscribers, synchronously, in subscription order.
enum class CADFrmLayoutEvent {
  CurrentWindowChanged,  // another window (or none) became current; the window is the new current one
  WindowClosing,         // the window is about to close (still valid; also for every window on Reset)
};

class CADFrmLayout {
 public:
  using Observer = std::function<void(CADFrmLayoutEvent event, CADFrmWindow* window)>;
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

  // --- notifications; the id is for Unsubscribe. A subscriber may unsubscribe from its callback.
  int Subscribe(Observer observer);
  void Unsubscribe(int id);

 private:
  void Notify(CADFrmLayoutEvent event, CADFrmWindow* window);
  void SetCurrent(CADFrmWindow* window);
  std::vector<std::pair<int, Observer>> observers_;
  int nextObserver_ = 0;
  friend class CADDocumentServices;
  CADFrmLayout() = default;
  // Takes a window out without touching its document.
  void DropWindow(CADFrmWindow* window);
  std::vector<CADFrmWindow*> windows_;  // one reference held on each
  CADFrmWindow* current_ = nullptr;
};
