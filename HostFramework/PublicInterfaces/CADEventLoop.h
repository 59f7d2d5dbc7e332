// The session's one event loop, with user-interface-thread semantics: each
// turn runs the posted jobs (FIFO), then the due timers (by due time, FIFO on
// ties), then the delayed destructions. It keeps a virtual clock in tests and
// the steady clock in a live session.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "CADTimerQueue.h"

class CADCommand;

class CADEventLoop {
 public:
  using Job = std::function<void()>;
  using Predicate = std::function<bool()>;
  enum class Clock { Virtual, Steady };

  // The process-wide loop (created on first use; starts on the virtual clock
  // at 0 ms).
  static CADEventLoop& Instance();
  CADEventLoop(const CADEventLoop&) = delete;
  CADEventLoop& operator=(const CADEventLoop&) = delete;

  // --- any thread
  // Queues `job` for the loop's thread and wakes the loop.
  void Post(Job job);
  // Makes Run(), or a RunUntil() on the steady clock, return after the current
  // turn; the drive that returns consumes the request. Async-signal-safe.
  void Quit();

  // --- loop thread: timers
  void AddTimeOut(int intervalMs, CADCommand* owner, void* data, CADTimeOutCallback callback);
  // Removes the first pending timer of `owner` armed with `intervalMs`;
  // whether one was pending.
  bool RemoveTimeOut(int intervalMs, const CADCommand* owner);
  std::size_t PendingTimeOuts() const { return timers_.Size(); }
  std::size_t PendingTimeOuts(const CADCommand* owner) const { return timers_.CountFor(owner); }

  // --- loop thread: delayed destruction (through CADCommand)
  void ScheduleDestruction(CADCommand* command);
  // Called by a command's destructor: drops its timers and its pending
  // destruction.
  void Forget(const CADCommand* command);
  std::size_t PendingDestructions() const { return destructions_.size(); }

  // --- loop thread: clock
  void UseClock(Clock clock);
  Clock GetClock() const { return clock_; }
  // Milliseconds: virtual time, or the steady clock.
  std::int64_t NowMs() const;

  // --- loop thread: driving the loop. None of these may be called from a
  // job, a timer or a destruction (no nested loops).
  // Runs turns at the current time until nothing is left to do.
  void RunPending();
  // Virtual clock: moves time forward by `ms`, stopping at each due timer in
  // order and running the turns it causes. Steady clock: runs for `ms`.
  void AdvanceBy(std::int64_t ms);
  // Runs until `done` holds, for at most `maxMs` of loop time; whether it
  // held. On the virtual clock time stops where `done` became true.
  bool RunUntil(const Predicate& done, std::int64_t maxMs);
  // Steady clock: runs until Quit(), sleeping in poll() until the next timer,
  // a post or a watched descriptor wakes it.
  void Run();

  // --- loop thread: descriptors watched while the loop sleeps (steady clock)
  void WatchFd(int fd, std::function<void()> onReadable);
  void UnwatchFd(int fd);

  // --- tests
  // Drops posted jobs, timers and watched descriptors, performs the pending
  // destructions, and returns to the virtual clock at 0 ms.
  void Reset();
  // Loop turns run so far (jobs, timers or destructions performed).
  std::uint64_t TurnCount() const { return turns_; }

 private:
  CADEventLoop();
  ~CADEventLoop();

  bool Turn();
  void RunPendingUnguarded();
  void WaitForWork(std::int64_t maxWaitMs);
  void Drain();
  void EnterDrive(const char* what);

  // Posted jobs: guarded by mutex_, written by any thread.
  std::mutex mutex_;
  std::deque<Job> posted_;
  int wakeFd_ = -1;  // eventfd, written by Post and Quit
  std::atomic<bool> quit_{false};

  // Everything below: loop thread only.
  CADTimerQueue timers_;
  std::deque<CADCommand*> destructions_;
  std::map<int, std::function<void()>> watched_;
  Clock clock_ = Clock::Virtual;
  std::int64_t virtualNowMs_ = 0;
  bool driving_ = false;
  std::uint64_t turns_ = 0;
};
