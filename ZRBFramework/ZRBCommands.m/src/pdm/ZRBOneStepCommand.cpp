#include "ZRBOneStepCommand.h"

#include "ZRBTrace.h"

CADStatusChangeRC ZRBOneStepCommand::Activate(CADCommand*, CADNotification*) {
  ZRB_TRACE("ZRBOneStepCommand::Activate");
  if (state_ != State::Created) return CADStatusChangeRCCompleted;  // a command starts once
  state_ = State::Working;
  ApplyClientMode();
  CheckIntegrity(0);
  ReadStartSettings();
  const Outcome outcome = Work();
  if (state_ != State::Working) return CADStatusChangeRCCompleted;  // ended while the work ran
  switch (outcome) {
    case Outcome::Continues:
      state_ = State::WaitingForUser;
      break;
    case Outcome::Succeeded:
    case Outcome::Failed:
      ShowOutcome(outcome == Outcome::Succeeded ? 1 : 0);
      End();
      break;
    case Outcome::Stopped:
      End();
      break;
  }
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}

ZRBOneStepCommand::Outcome ZRBOneStepCommand::Work() {
  const std::string name = GetName().str();
  const std::string detail = NotAvailableDetail();
  ZRB_DEBUG("ZRB: %s%s%s is not available yet", name.c_str(), detail.empty() ? "" : " ", detail.c_str());
  return Outcome::Stopped;
}

void ZRBOneStepCommand::End() {
  if (state_ == State::Ended) return;
  state_ = State::Ended;
  RequestDelayedDestruction();
}
