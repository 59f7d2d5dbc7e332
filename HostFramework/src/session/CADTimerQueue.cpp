#include "CADTimerQueue.h"

void CADTimerQueue::Add(std::int64_t nowMs, int intervalMs, CADCommand* owner, void* data,
                        CADTimeOutCallback callback) {
  CADTimeOut timer;
  timer.intervalMs = intervalMs < 0 ? 0 : intervalMs;
  timer.dueMs = nowMs + timer.intervalMs;
  timer.sequence = nextSequence_++;
  timer.owner = owner;
  timer.data = data;
  timer.callback = callback;
  timers_.emplace(Key{timer.dueMs, timer.sequence}, timer);
}

bool CADTimerQueue::RemoveFirst(int intervalMs, const CADCommand* owner) {
  if (intervalMs < 0) intervalMs = 0;
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.owner == owner && it->second.intervalMs == intervalMs) {
      timers_.erase(it);
      return true;
    }
  }
  return false;
}

std::size_t CADTimerQueue::RemoveOwner(const CADCommand* owner) {
  return std::erase_if(timers_, [owner](const auto& entry) { return entry.second.owner == owner; });
}

std::optional<CADTimeOut> CADTimerQueue::PopDue(std::int64_t nowMs, std::uint64_t armedBefore) {
  for (auto it = timers_.begin(); it != timers_.end() && it->first.first <= nowMs; ++it) {
    if (it->second.sequence < armedBefore) {
      CADTimeOut timer = it->second;
      timers_.erase(it);
      return timer;
    }
  }
  return std::nullopt;
}

std::optional<std::int64_t> CADTimerQueue::NextDue() const {
  if (timers_.empty()) return std::nullopt;
  return timers_.begin()->first.first;
}

std::size_t CADTimerQueue::CountFor(const CADCommand* owner) const {
  std::size_t count = 0;
  for (const auto& entry : timers_)
    if (entry.second.owner == owner) ++count;
  return count;
}

void CADTimerQueue::Shift(std::int64_t deltaMs) {
  std::map<Key, CADTimeOut> shifted;
  for (auto& [key, timer] : timers_) {
    timer.dueMs += deltaMs;
    shifted.emplace(Key{timer.dueMs, timer.sequence}, timer);
  }
  timers_.swap(shifted);
}
