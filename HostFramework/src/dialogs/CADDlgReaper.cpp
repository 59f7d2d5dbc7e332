#include "CADDlgReaper.h"

#include <algorithm>
#include <vector>

#include "CADDialog.h"
#include "CADEventLoop.h"

namespace {
struct ReaperState {
  std::vector<CADDialog*> pending;
  // By default the deletion runs in the session loop's next turn.
  CADDlgReaper::Scheduler scheduler = [] { CADEventLoop::Instance().Post([] { CADDlgReaper::Flush(); }); };
};
ReaperState& State() {
  static ReaperState state;
  return state;
}
}  // namespace

void CADDlgReaper::SetScheduler(Scheduler scheduler) { State().scheduler = std::move(scheduler); }

void CADDlgReaper::Add(CADDialog* object) {
  ReaperState& s = State();
  s.pending.push_back(object);
  // Every time: a flush posted earlier may have been dropped by a loop reset, and an extra one costs nothing.
  if (s.scheduler) s.scheduler();
}

void CADDlgReaper::Forget(CADDialog* object) {
  auto& pending = State().pending;
  pending.erase(std::remove(pending.begin(), pending.end(), object), pending.end());
}

void CADDlgReaper::Flush() {
  auto& pending = State().pending;
  // Deleting an object removes it (and its pending descendants) from the list, so always take the front.
  while (!pending.empty()) {
    CADDialog* object = pending.front();
    delete object;
  }
}

int CADDlgReaper::CountPending() { return static_cast<int>(State().pending.size()); }
