#include "ZRBTwoStepCommand.h"

#include <string>

#include "CADApplication.h"
#include "ZRBAfx.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBTrace.h"

namespace {

ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

}  // namespace

ZRBTwoStepCommand::ZRBTwoStepCommand(const char* name, ZRBRunningCommandKind kind)
    : ZRBCommand(name), kind_(ZRBTwoStepKinds::Of(kind)) {}

ZRBTwoStepCommand::ZRBTwoStepCommand(const char* name, ZRBRunningCommandKind kind, int requestChange,
                                     CADCommandMsg message)
    : ZRBCommand(name, requestChange, message), kind_(ZRBTwoStepKinds::Of(kind)) {}

// --- start

CADStatusChangeRC ZRBTwoStepCommand::Activate(CADCommand*, CADNotification*) {
  ZRB_TRACE("ZRBTwoStepCommand::Activate");
  if (state_ != State::Created) return CADStatusChangeRCCompleted;  // a command starts once
  ApplyClientMode();
  CheckIntegrity(0);
  ReadStartSettings();

  state_ = State::Starting;
  ZRBGlobalProperties::Process().RegisterRunningCommand(kind_.kind, this);
  const int handedOver = StartStep();
  if (state_ != State::Starting) return CADStatusChangeRCCompleted;  // ended while the step ran

  CADApplication* application = CADApplication::MainApplication();
  if (handedOver && !application) ZRB_DEBUG("ZRB: Cannot get MainApplication");
  if (handedOver && application) {
    state_ = State::Waiting;
    application->AddTimeOut(kPollIntervalMs, this, nullptr, &ZRBTwoStepCommand::WaitForPdm);
    ZRB_TRACE_OK();
    return CADStatusChangeRCCompleted;
  }
  ShowStartFailure();
  SetResult(CADCommandResult::Failed);
  Finish();
  return CADStatusChangeRCCompleted;
}

void ZRBTwoStepCommand::ShowStartFailure() {
  const std::string name = GetName().str();
  ZRB_DEBUG("%s failed!", name.c_str());
  if (!kind_.failureCatalog.empty()) ShowMessage(kind_.failureCatalog, kind_.failureMessage, kFailureStyle);
}

int ZRBTwoStepCommand::AnnounceHandOver() {
  if (SetModCommStatus("NO_STATUS")) return 1;
  ZRB_DEBUG(" Problem in the component Creation");
  return 0;
}

// --- waiting

void ZRBTwoStepCommand::WaitForPdm(CADCommand* command, int, void*) {
  auto* self = dynamic_cast<ZRBTwoStepCommand*>(command);
  if (!self) {
    ZRB_DEBUG("ZRB: Cannot get current command");
    return;
  }
  self->Poll();
}

void ZRBTwoStepCommand::Poll() {
  ZRB_TRACE("ZRBTwoStepCommand::WaitForPdm");
  if (state_ != State::Waiting) return;
  ApplyClientMode();
  CADString status;
  if (!GetModCommStatus(status)) {
    ZRB_DEBUG("ZRB: Problem in the component Creation");
    return;
  }
  // Abandoned: the integrity check that set this has ended the command already.
  if (status == "CAD_CANCEL") return;
  const bool finished = status.view() == kind_.readyWord || status == "PDM_CANCEL";

  CADApplication* application = CADApplication::MainApplication();
  if (!application) {
    ZRB_DEBUG("ZRB: Cannot get MainApplication");
    return;
  }
  if (!finished) {
    application->AddTimeOut(kPollIntervalMs, this, nullptr, &ZRBTwoStepCommand::WaitForPdm);
    return;
  }
  application->RemoveTimeOut(kPollIntervalMs, this);
  state_ = State::Ending;
  // The end step may start other commands whose integrity check would take this one for a command that still
  // waits and send the PDM a cancel word for a dialog that has already closed.
  if (Registry().GetCommand() == this) Registry().Clear();
  ApplyClientMode();
  // The PDM's cancel is the command's result unless its end step reports one of its own.
  if (status == "PDM_CANCEL") SetResult(CADCommandResult::Cancelled);
  EndStep(status);
  if (GetResult() == CADCommandResult::None) SetResult(CADCommandResult::Succeeded);
  Finish();
  ZRB_TRACE_OK();
}

// --- ending

CADStatusChangeRC ZRBTwoStepCommand::Cancel(CADCommand* caller, CADNotification*) {
  ZRB_TRACE("ZRBTwoStepCommand::Cancel");
  // Only the user's interruption ends a command that waits for the PDM; other commands passing by do not.
  if (caller && caller->GetName() != "CADCommandHeaderStopper") return CADStatusChangeRCCompleted;
  EndCmd();
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}

CADStatusChangeRC ZRBTwoStepCommand::Desactivate(CADCommand*, CADNotification*) {
  ZRB_TRACE("ZRBTwoStepCommand::Desactivate");
  EndCmd();
  ZRB_TRACE_OK();
  return CADStatusChangeRCCompleted;
}

void ZRBTwoStepCommand::EndCmd() {
  ZRB_TRACE("ZRBTwoStepCommand::EndCmd");
  if (state_ == State::Ending || state_ == State::Ended) return;
  // Only a command that has handed over has a PDM dialog to cancel.
  const bool pdmDialogOpen = state_ == State::Starting || state_ == State::Waiting;
  state_ = State::Ending;
  ApplyClientMode();
  if (CADApplication* application = CADApplication::MainApplication())
    application->RemoveTimeOut(kPollIntervalMs, this);
  if (pdmDialogOpen) ZRBPdmRequest::RunQuietly(kind_.cancelWord, ZRBPdmAction::Line(kind_.cancelWord));
  RestoreAfterCancel();
  SetResult(CADCommandResult::Cancelled);
  Finish();
  ZRB_TRACE_OK();
}

void ZRBTwoStepCommand::Finish() {
  state_ = State::Ended;
  ZRBRunningCommandRegistry& registry = Registry();
  if (registry.GetCommand() == this) registry.Clear();
  RequestDelayedDestruction();
}

int ZRBTwoStepCommand::StopWaitingForPdm() {
  CADApplication* application = CADApplication::MainApplication();
  if (!application || !application->RemoveTimeOut(kPollIntervalMs, this)) return 0;
  SetModCommStatus("CAD_CANCEL");
  state_ = State::Ended;
  RestoreAfterCancel();
  SetResult(CADCommandResult::Cancelled);
  RequestDelayedDestruction();
  return 1;
}
