// The session's main window. Headless here: it has a title and remembers how
// often it was raised, which is what callers of a real host can observe.
#pragma once

#include <atomic>

#include "CADString.h"

class CADMainWindow {
 public:
  explicit CADMainWindow(CADString title) : title_(std::move(title)) {}

  const CADString& GetTitle() const { return title_; }
  void SetTitle(const CADString& title) { title_ = title; }

  // Brings the window to the front of the desktop.
  void Raise() { ++raises_; }
  int GetRaiseCount() const { return raises_; }

 private:
  CADString title_;  // session thread
  std::atomic<int> raises_{0};
};
