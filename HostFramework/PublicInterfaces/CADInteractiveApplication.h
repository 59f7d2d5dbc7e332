// The interactive kind of application: it can repaint the display while a
// long call keeps the session thread busy.
#pragma once

#include <atomic>

#include "CADApplication.h"

class CADInteractiveApplication : public CADApplication {
 public:
  explicit CADInteractiveApplication(const CADString& name = "CADSession") : CADApplication(name) {}

  // The main application when it is interactive, else null.
  static CADInteractiveApplication* MainInteractiveApplication();

  // Repaints the windows. Never runs queued work: posted jobs and timers wait
  // for the loop.
  void UpdateDisplay() { ++repaints_; }
  int GetRepaintCount() const { return repaints_; }

 private:
  std::atomic<int> repaints_{0};  // any thread
};
