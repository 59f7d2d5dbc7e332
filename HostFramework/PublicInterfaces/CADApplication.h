// The host application of the session: the main application that commands
// reach through MainApplication(), its main window, and its one-shot timers.
#pragma once

#include <memory>

#include "CADMainWindow.h"
#include "CADString.h"
#include "CADTimerQueue.h"

class CADCommand;

class CADApplication {
 public:
  // The application of this session, or null when none was created (tests of
  // the "no main application" paths run without one).
  static CADApplication* MainApplication();

  // --- lifecycle: one application per process; it is the main application
  // from construction to destruction.
  explicit CADApplication(const CADString& name = "CADSession");
  virtual ~CADApplication();
  CADApplication(const CADApplication&) = delete;
  CADApplication& operator=(const CADApplication&) = delete;

  const CADString& GetName() const { return name_; }
  CADMainWindow& GetMainWindow() { return *mainWindow_; }

  // --- timers on the session's loop (session thread)
  // Calls callback(command, intervalMs, data) once, intervalMs from now.
  void AddTimeOut(int intervalMs, CADCommand* command, void* data, CADTimeOutCallback callback);
  // Removes the first pending timer of `command` armed with `intervalMs`;
  // whether one was pending.
  bool RemoveTimeOut(int intervalMs, CADCommand* command);

 private:
  CADString name_;
  std::unique_ptr<CADMainWindow> mainWindow_;
};
