// One threaded PDM call: a worker thread runs the command line while the user-interface thread waits and lets
// the host repaint once a second, so the session stays responsive while the PDM works.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

// Threads: Run() is called on the user-interface thread, which owns the object and joins the worker before Run
// returns. The worker touches only line_ (fixed before it starts) and the fields under mutex_. Each call has its
// own object, so two calls share nothing and no signal can be meant for another call.
class ZRBPdmWorkerCall {
 public:
  enum class Outcome { Ran, NotStarted };

  // --- lifecycle
  explicit ZRBPdmWorkerCall(std::string line) : line_(std::move(line)) {}
  ~ZRBPdmWorkerCall();
  ZRBPdmWorkerCall(const ZRBPdmWorkerCall&) = delete;
  ZRBPdmWorkerCall& operator=(const ZRBPdmWorkerCall&) = delete;

  // --- the call (user-interface thread)
  // Starts the worker and waits until it has finished, calling `repaint` after every second without an end.
  // NotStarted when no worker could be created; the caller runs the line directly then.
  Outcome Run(const std::function<void()>& repaint);
  // The worker's result (shell status, 0 for ECHILD) and errno as the worker saw it.
  int GetResult() const { return result_; }
  int GetErrno() const { return errno_; }
  // Why the worker could not be created.
  int GetStartError() const { return startError_; }

  // --- tests: the next worker creation fails with this error number (0: off)
  static void FailNextStartForTests(int errorNumber);

 private:
  void Work();

  const std::string line_;
  std::thread worker_;
  int startError_ = 0;

  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;  // guarded by mutex_
  int result_ = 0;     // guarded by mutex_ until done_, then read-only
  int errno_ = 0;
};
