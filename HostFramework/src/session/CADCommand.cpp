#include "CADCommand.h"

#include <algorithm>
#include <mutex>

#include "CADEventLoop.h"

namespace {

// Commands alive in the process. Never destroyed, so that commands outliving
// static destruction (a module unloaded late) still find it.
struct LiveCommands {
  std::mutex mutex;
  std::vector<const CADCommand*> commands;
  std::vector<CADCommandOutcome> finished;
};

LiveCommands& Live() {
  static auto* live = new LiveCommands;
  return *live;
}

}  // namespace

CADCommand::CADCommand(const char* name) : name_(name ? name : "") {
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  live.commands.push_back(this);
}

CADCommand::~CADCommand() {
  CADEventLoop::Instance().Forget(this);
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  auto it = std::find(live.commands.begin(), live.commands.end(), this);
  if (it != live.commands.end()) live.commands.erase(it);
  if (result_ != CADCommandResult::None) live.finished.push_back({name_, result_});
}

std::vector<CADCommandOutcome> CADCommand::GetFinishedResults() {
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  return live.finished;
}

void CADCommand::ClearFinishedResults() {
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  live.finished.clear();
}

const char* CADCommand::ResultWord(CADCommandResult result) {
  switch (result) {
    case CADCommandResult::Succeeded:
      return "succeeded";
    case CADCommandResult::Warning:
      return "warning";
    case CADCommandResult::Failed:
      return "failed";
    case CADCommandResult::Cancelled:
      return "cancelled";
    case CADCommandResult::None:
      break;
  }
  return "";
}

void CADCommand::RequestDelayedDestruction() {
  if (destructionRequested_) return;
  destructionRequested_ = true;
  CADEventLoop::Instance().ScheduleDestruction(this);
}

CADNotifPropagation CADCommand::AnalyseNotification(CADCommand*, CADNotification*) { return CADNotifTransmitToFather; }

CADStatusChangeRC CADCommand::Activate(CADCommand*, CADNotification*) { return CADStatusChangeRCCompleted; }
CADStatusChangeRC CADCommand::Desactivate(CADCommand*, CADNotification*) { return CADStatusChangeRCCompleted; }
CADStatusChangeRC CADCommand::Cancel(CADCommand*, CADNotification*) { return CADStatusChangeRCCompleted; }

void CADCommand::RequestStatusChange(CADCommandMsg message, CADCommand*) { statusRequests_.push_back(message); }

std::size_t CADCommand::LiveCount() {
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  return live.commands.size();
}

CADListValCADString CADCommand::LiveNames() {
  auto& live = Live();
  std::lock_guard lock(live.mutex);
  CADListValCADString names;
  // name_ is read directly: a virtual GetName is not safe on a command that
  // is being constructed or destroyed.
  for (const CADCommand* command : live.commands) names.Append(command->name_);
  return names;
}
