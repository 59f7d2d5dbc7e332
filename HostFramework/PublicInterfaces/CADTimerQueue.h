// The pending one-shot timers of the session, ordered by due time and, for
// equal due times, by the order in which they were added.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>

class CADCommand;

// Timer callback: the owning command, the interval it was armed with (ms) and
// the caller's data.
using CADTimeOutCallback = void (*)(CADCommand* command, int intervalMs, void* data);

struct CADTimeOut {
  std::int64_t dueMs = 0;
  std::uint64_t sequence = 0;  // order of arming; breaks ties of dueMs
  int intervalMs = 0;
  CADCommand* owner = nullptr;
  void* data = nullptr;
  CADTimeOutCallback callback = nullptr;
};

class CADTimerQueue {
 public:
  // Arms a timer due at nowMs + intervalMs (a negative interval counts as 0).
  void Add(std::int64_t nowMs, int intervalMs, CADCommand* owner, void* data, CADTimeOutCallback callback);
  // Removes the earliest pending timer of `owner` armed with `intervalMs`;
  // false when there was none.
  bool RemoveFirst(int intervalMs, const CADCommand* owner);
  // Removes every timer of `owner`; returns how many.
  std::size_t RemoveOwner(const CADCommand* owner);
  // Takes the earliest timer due at `nowMs` that was armed before the
  // sequence number `armedBefore` (timers armed while a turn fires wait for
  // the next turn, so a zero interval cannot starve the loop).
  std::optional<CADTimeOut> PopDue(std::int64_t nowMs, std::uint64_t armedBefore);
  std::optional<std::int64_t> NextDue() const;
  std::uint64_t NextSequence() const { return nextSequence_; }

  std::size_t Size() const { return timers_.size(); }
  std::size_t CountFor(const CADCommand* owner) const;
  void Clear() { timers_.clear(); }
  // Moves every due time by `deltaMs` (the loop changed clocks).
  void Shift(std::int64_t deltaMs);

 private:
  using Key = std::pair<std::int64_t, std::uint64_t>;
  std::map<Key, CADTimeOut> timers_;
  std::uint64_t nextSequence_ = 1;
};
