// The two-step round trip with the PDM, written once: the first PDM call only opens the PDM's dialog, then the
// command waits, polling the module-communication status once a second, until the PDM reports its ready word or
// "PDM_CANCEL", or the command is cancelled or abandoned. Add-temporary, save-as, create-for-document and
// use-PDM-structure derive from it and supply the start and end steps; their words are the rows of
// ZRBTwoStepKinds. The one-step lifecycle is ZRBOneStepCommand.
//
// Lifecycle (one object, user-interface thread only):
//   Created --Activate--> Starting: integrity check, registered as the waiting command, StartStep()
//   Starting --StartStep 1, timer armed--> Waiting     Starting --StartStep 0--> Ended (failure shown)
//   Waiting --timer, status "NO_STATUS" or anything else--> Waiting (timer armed again, no overall time-out)
//   Waiting --timer, ready word or "PDM_CANCEL"--> Ending: EndStep(status) --> Ended
//   Starting/Waiting --Cancel (no caller or "CADCommandHeaderStopper") or Desactivate--> Ending: timer removed,
//       cancel word sent to the PDM --> Ended
//   Waiting --a newer command's integrity check (ZRBTwoStepKinds::AbandonWaitingCommand, which calls
//       StopWaitingForPdm)--> Ended: status "CAD_CANCEL", timer removed; the integrity check sends the kind's
//       cancel word through the client this command was registered with
// Every way into Ended requests the command's delayed destruction once and clears the running-command registry
// only when it still points at this command. Ending twice does nothing (no second cancel word).
//
// Threads: none but the user-interface thread touch these objects; the timer callback, Cancel, Desactivate and
// the abandonment all run there, between user events.
#pragma once

#include <string_view>

#include "CADString.h"
#include "ZRBCommand.h"
#include "ZRBRunningCommandRegistry.h"
#include "ZRBTwoStepKinds.h"

class ZRBTwoStepCommand : public ZRBCommand {
 public:
  enum class State { Created, Starting, Waiting, Ending, Ended };
  static constexpr int kPollIntervalMs = ZRBTwoStepKinds::kPollIntervalMs;

  // --- host command operations
  CADStatusChangeRC Activate(CADCommand* caller, CADNotification* notification) override;
  // Ends the command; ignored when the cancelling command is neither absent nor "CADCommandHeaderStopper".
  CADStatusChangeRC Cancel(CADCommand* caller, CADNotification* notification) override;
  CADStatusChangeRC Desactivate(CADCommand* caller, CADNotification* notification) override;

  // --- ending
  // Removes the timer, tells the PDM to cancel its dialog, clears the registry and ends the command. Idempotent.
  void EndCmd();
  // The one timer callback of every two-step command.
  static void WaitForPdm(CADCommand* command, int intervalMs, void* data);
  // For the abandonment by a newer command: when the timer was pending, sets the status "CAD_CANCEL" and ends
  // this command without a cancel word (the abandonment sends it). 1 when it was waiting.
  int StopWaitingForPdm() override;

  State GetState() const { return state_; }
  const ZRBTwoStepKind& GetKind() const { return kind_; }

 protected:
  // `kind` selects the command's row of ZRBTwoStepKinds.
  ZRBTwoStepCommand(const char* name, ZRBRunningCommandKind kind);
  ZRBTwoStepCommand(const char* name, ZRBRunningCommandKind kind, int requestChange, CADCommandMsg message);

  // --- the steps a command supplies
  // Reads the host settings the command needs before it starts (a setting that cannot be read keeps the
  // command's default).
  virtual void ReadStartSettings() {}
  // Writes the request, hands it to the PDM and calls AnnounceHandOver() once the PDM's first step returned;
  // 1 when the PDM's first step succeeded and the command is to wait, 0 on failure (after showing the step's
  // own message, if any).
  virtual int StartStep() = 0;
  // Finishes the command with the final status (the ready word or "PDM_CANCEL").
  virtual void EndStep(const CADString& status) = 0;
  // Called once when the command ends without its end step (cancelled, deactivated or abandoned): what the
  // start changed in the session for the PDM goes back (a document saved unmodified is marked modified again).
  virtual void RestoreAfterCancel() {}
  // Shown when the start failed; the default traces "<name> failed!" and shows the kind's failure message.
  virtual void ShowStartFailure();

  // Sets the status "NO_STATUS" so that the poll waits for the PDM's answer; 0 when the component could not be
  // created.
  int AnnounceHandOver();

 private:
  void Poll();
  // Requests destruction and clears the registry entry when it is this command's.
  void Finish();

  const ZRBTwoStepKind& kind_;  // a row of the static table
  State state_ = State::Created;
};
