#include "CADEventLoop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <vector>

#include "CADBaseTypes.h"
#include "CADCommand.h"

namespace {

// A loop that still has work after this many turns at one instant is being
// fed by its own jobs; RunPending returns rather than spin for ever.
constexpr int kMaxTurnsPerInstant = 100000;

std::int64_t SteadyNowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// Marks the loop as being driven for the lifetime of a driving call.
class DriveGuard {
 public:
  explicit DriveGuard(bool& driving) : driving_(driving) { driving_ = true; }
  ~DriveGuard() { driving_ = false; }
  DriveGuard(const DriveGuard&) = delete;
  DriveGuard& operator=(const DriveGuard&) = delete;

 private:
  bool& driving_;
};

}  // namespace

CADEventLoop& CADEventLoop::Instance() {
  // Never destroyed: commands deleted during static destruction (a module
  // unloaded at exit) still reach it through their destructors.
  static auto* loop = new CADEventLoop;
  return *loop;
}

CADEventLoop::CADEventLoop() {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ < 0) cadhost::FailFast("CADEventLoop: eventfd failed");
}

CADEventLoop::~CADEventLoop() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

// ---------------------------------------------------------------- any thread

void CADEventLoop::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    posted_.push_back(std::move(job));
  }
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void CADEventLoop::Quit() {
  quit_.store(true);
  std::uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

// ------------------------------------------------------------------- timers

void CADEventLoop::AddTimeOut(int intervalMs, CADCommand* owner, void* data, CADTimeOutCallback callback) {
  timers_.Add(NowMs(), intervalMs, owner, data, callback);
}

bool CADEventLoop::RemoveTimeOut(int intervalMs, const CADCommand* owner) {
  return timers_.RemoveFirst(intervalMs, owner);
}

// ------------------------------------------------------- delayed destruction

void CADEventLoop::ScheduleDestruction(CADCommand* command) {
  if (command) destructions_.push_back(command);
}

void CADEventLoop::Forget(const CADCommand* command) {
  timers_.RemoveOwner(command);
  std::erase(destructions_, command);
}

// -------------------------------------------------------------------- clock

void CADEventLoop::UseClock(Clock clock) {
  if (clock == clock_) return;
  std::int64_t before = NowMs();
  clock_ = clock;
  if (clock_ == Clock::Virtual) virtualNowMs_ = 0;
  timers_.Shift(NowMs() - before);
}

std::int64_t CADEventLoop::NowMs() const { return clock_ == Clock::Virtual ? virtualNowMs_ : SteadyNowMs(); }

// ------------------------------------------------------------------ driving

void CADEventLoop::EnterDrive(const char* what) {
  if (driving_) {
    std::fprintf(stderr, "CADEventLoop::%s called from inside the loop\n", what);
    cadhost::FailFast("nested event loops are not supported");
  }
}

bool CADEventLoop::Turn() {
  bool ran = false;

  std::size_t jobs = 0;
  {
    std::lock_guard lock(mutex_);
    jobs = posted_.size();
  }
  for (std::size_t i = 0; i < jobs; ++i) {
    Job job;
    {
      std::lock_guard lock(mutex_);
      if (posted_.empty()) break;
      job = std::move(posted_.front());
      posted_.pop_front();
    }
    if (job) job();
    ran = true;
  }

  const std::uint64_t armedBefore = timers_.NextSequence();
  const std::int64_t now = NowMs();
  while (auto timer = timers_.PopDue(now, armedBefore)) {
    if (timer->callback) timer->callback(timer->owner, timer->intervalMs, timer->data);
    ran = true;
  }

  // One at a time: a destructor may delete or schedule other commands.
  for (std::size_t left = destructions_.size(); left > 0 && !destructions_.empty(); --left) {
    CADCommand* command = destructions_.front();
    destructions_.pop_front();
    command->Release();
    ran = true;
  }

  if (ran) ++turns_;
  return ran;
}

void CADEventLoop::RunPendingUnguarded() {
  for (int i = 0; i < kMaxTurnsPerInstant; ++i)
    if (!Turn()) return;
  std::fprintf(stderr, "CADEventLoop: still busy after %d turns; the loop feeds itself\n", kMaxTurnsPerInstant);
}

void CADEventLoop::RunPending() {
  EnterDrive("RunPending");
  DriveGuard guard(driving_);
  RunPendingUnguarded();
}

void CADEventLoop::AdvanceBy(std::int64_t ms) {
  if (clock_ == Clock::Steady) {
    RunUntil(nullptr, ms);
    return;
  }
  EnterDrive("AdvanceBy");
  DriveGuard guard(driving_);
  const std::int64_t target = virtualNowMs_ + std::max<std::int64_t>(ms, 0);
  RunPendingUnguarded();
  for (auto due = timers_.NextDue(); due && *due <= target; due = timers_.NextDue()) {
    virtualNowMs_ = std::max(virtualNowMs_, *due);
    RunPendingUnguarded();
  }
  virtualNowMs_ = target;
  RunPendingUnguarded();
}

bool CADEventLoop::RunUntil(const Predicate& done, std::int64_t maxMs) {
  EnterDrive("RunUntil");
  DriveGuard guard(driving_);
  auto holds = [&done] { return done && done(); };
  const std::int64_t deadline = NowMs() + std::max<std::int64_t>(maxMs, 0);

  if (clock_ == Clock::Virtual) {
    RunPendingUnguarded();
    if (holds()) return true;
    for (auto due = timers_.NextDue(); due && *due <= deadline; due = timers_.NextDue()) {
      virtualNowMs_ = std::max(virtualNowMs_, *due);
      RunPendingUnguarded();
      if (holds()) return true;
    }
    virtualNowMs_ = std::max(virtualNowMs_, deadline);
    RunPendingUnguarded();
    return holds();
  }

  for (;;) {
    RunPendingUnguarded();
    if (holds()) return true;
    // An interrupted wait ends this drive only; later waits must not see it.
    if (quit_.exchange(false)) return false;
    const std::int64_t now = NowMs();
    if (now >= deadline) return false;
    std::int64_t wait = deadline - now;
    if (auto due = timers_.NextDue()) wait = std::min(wait, std::max<std::int64_t>(*due - now, 0));
    WaitForWork(wait);
  }
}

void CADEventLoop::Run() {
  EnterDrive("Run");
  DriveGuard guard(driving_);
  while (!quit_.load()) {
    RunPendingUnguarded();
    if (quit_.load()) break;
    auto due = timers_.NextDue();
    if (clock_ == Clock::Virtual && due) {
      // Nothing to do before the next timer: on the virtual clock, jump there.
      virtualNowMs_ = std::max(virtualNowMs_, *due);
      continue;
    }
    WaitForWork(due ? std::max<std::int64_t>(*due - NowMs(), 0) : -1);
  }
  quit_.store(false);
}

void CADEventLoop::WaitForWork(std::int64_t maxWaitMs) {
  std::vector<pollfd> fds;
  fds.push_back({wakeFd_, POLLIN, 0});
  for (const auto& [fd, callback] : watched_) fds.push_back({fd, POLLIN, 0});
  int timeout = maxWaitMs < 0 ? -1 : static_cast<int>(std::min<std::int64_t>(maxWaitMs, 1 << 30));
  int ready = poll(fds.data(), fds.size(), timeout);
  if (ready <= 0) return;  // time-out, or EINTR: the caller looks again
  if (fds[0].revents) Drain();
  std::vector<int> readable;
  for (std::size_t i = 1; i < fds.size(); ++i)
    if (fds[i].revents) readable.push_back(fds[i].fd);
  for (int fd : readable) {
    // A callback may unwatch descriptors, its own or others.
    auto it = watched_.find(fd);
    if (it == watched_.end()) continue;
    auto callback = it->second;
    callback();
  }
}

void CADEventLoop::Drain() {
  std::uint64_t count = 0;
  while (read(wakeFd_, &count, sizeof count) > 0) {
  }
}

// -------------------------------------------------------------- descriptors

void CADEventLoop::WatchFd(int fd, std::function<void()> onReadable) { watched_[fd] = std::move(onReadable); }

void CADEventLoop::UnwatchFd(int fd) { watched_.erase(fd); }

// -------------------------------------------------------------------- tests

void CADEventLoop::Reset() {
  EnterDrive("Reset");
  std::deque<Job> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(posted_);
  }
  dropped.clear();
  timers_.Clear();
  watched_.clear();
  for (int i = 0; i < kMaxTurnsPerInstant && !destructions_.empty(); ++i) {
    CADCommand* command = destructions_.front();
    destructions_.pop_front();
    command->Release();
  }
  destructions_.clear();
  Drain();
  clock_ = Clock::Virtual;
  virtualNowMs_ = 0;
  quit_.store(false);
  turns_ = 0;
}
