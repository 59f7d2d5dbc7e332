#include "ZRBPdmWorkerCall.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

#include "ZRBAfx.h"
#include "ZRBTrace.h"

namespace {
std::atomic<int> g_failNextStart{0};
}

void ZRBPdmWorkerCall::FailNextStartForTests(int errorNumber) { g_failNextStart = errorNumber; }

ZRBPdmWorkerCall::~ZRBPdmWorkerCall() {
  if (worker_.joinable()) worker_.join();
}

ZRBPdmWorkerCall::Outcome ZRBPdmWorkerCall::Run(const std::function<void()>& repaint) {
  if (int injected = g_failNextStart.exchange(0)) {
    startError_ = injected;
    return Outcome::NotStarted;
  }
  try {
    worker_ = std::thread(&ZRBPdmWorkerCall::Work, this);
  } catch (const std::system_error& error) {
    startError_ = error.code().value();
    return Outcome::NotStarted;
  }

  std::unique_lock lock(mutex_);
  // The predicate, not the wake-up, decides: a signal sent before the wait began is not lost, and a spurious
  // wake-up does not end the wait early.
  while (!finished_.wait_for(lock, std::chrono::seconds(1), [this] { return done_; })) {
    lock.unlock();
    if (repaint) repaint();
    lock.lock();
  }
  lock.unlock();
  worker_.join();
  return Outcome::Ran;
}

void ZRBPdmWorkerCall::Work() {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("Command: " + line_);
  errno = 0;
  int result = ZRBAfx::RunShell(line_.c_str());
  int error = errno;
  if (result < 0 && error == ECHILD) {
    ZRB_DEBUG("ZRB: ignoring system call error 'ECHILD'");
    result = 0;
  } else if (result < 0) {
    ZRB_DEBUG("system failed with %d errno: %d", result, error);
  }
  {
    std::lock_guard lock(mutex_);
    result_ = result;
    errno_ = error;
    done_ = true;
  }
  finished_.notify_all();
}
