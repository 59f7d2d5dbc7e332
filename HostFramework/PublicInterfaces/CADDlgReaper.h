// Performs the delayed destruction of dialog objects at a safe point: after the notification that asked for it
// has returned. User-interface thread only.
#pragma once

#include <functional>

class CADDialog;

class CADDlgReaper {
 public:
  // Called whenever an object becomes pending. The default posts a Flush() to the session loop's next turn; the
  // dialog driver also flushes after each of its actions. An empty scheduler leaves flushing to the driver.
  using Scheduler = std::function<void()>;
  static void SetScheduler(Scheduler scheduler);

  // Deletes every pending object (and, with it, its children). Objects that become pending while flushing are
  // deleted too.
  static void Flush();
  static int CountPending();

 private:
  friend class CADDialog;
  static void Add(CADDialog* object);
  static void Forget(CADDialog* object);
};
