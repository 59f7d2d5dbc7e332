#include "ZRBTwoStepCommand.h"

#include <cerrno>
#include <string>

#include "CADApplication.h"
#include "ZRBAfx.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPdmAction.h"
#include "ZRBScopedClientMode.h"
#include "ZRBTrace.h"

namespace {

ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

// Sends a cancel word through the client in force; a failure is only traced (the command ends all the same).
void SendCancelWord(std::string_view word) {
  int result = ZRBAfx::ConnectPdm(ZRBPdmAction::Line(word), 0);
  if (result < 0) {
    const int error = errno;
    ZRB_DEBUG("SYSTEM ConnectPdm %.*s failed with %d errno: %d", static_cast<int>(word.size()), word.data(), result,
              error);
  }
}

}  // namespace

ZRBTwoStepCommand::ZRBTwoStepCommand(const char* name, const ZRBTwoStepKind& kind) : ZRBCommand(name), kind_(kind) {}

ZRBTwoStepCommand::ZRBTwoStepCommand(const char* name, const ZRBTwoStepKind& kind, int requestChange,
                                     CADCommandMsg message)
    : ZRBCommand(name, requestChange, message), kind_(kind) {}

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
  if (pdmDialogOpen) SendCancelWord(kind_.cancelWord);
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

void ZRBTwoStepCommand::AbandonWaitingCommand() {
  ZRBRunningCommandRegistry& registry = Registry();
  if (registry.GetKind() == ZRBRunningCommandKind::None) {
    registry.Clear();
    return;
  }
  ZRB_TRACE("ZRBTwoStepCommand::AbandonWaitingCommand");
  if (ZRBCommand* waiting = registry.GetCommand()) {
    CADApplication* application = CADApplication::MainApplication();
    if (application && application->RemoveTimeOut(kPollIntervalMs, waiting)) {
      SetModCommStatus("CAD_CANCEL");
      if (auto* twoStep = dynamic_cast<ZRBTwoStepCommand*>(waiting)) twoStep->state_ = State::Ended;
      waiting->SetResult(CADCommandResult::Cancelled);
      waiting->RequestDelayedDestruction();
    }
    registry.ClearCommand();
  }
  ZRB_DEBUG("ZRB: sending Cancel to PDM");
  const std::string_view word = ZRBPdmAction::CancelWordFor(registry.GetKind());
  if (word.empty()) {
    ZRB_DEBUG("Unknown Active Command");
  } else {
    // The newest command's client is in force; the PDM dialog belongs to the waiting command's client.
    ZRBScopedClientMode client(ZRBClientMode::ForConnectionCommand(registry.GetConnectionCommand()));
    SendCancelWord(word);
  }
  registry.Clear();
  ZRB_TRACE_OK();
}
