// The host's command: a named unit of interactive work that the session
// activates, deactivates and cancels, and that ends by requesting its own
// delayed destruction. Dialogs and module commands derive from it.
#pragma once

#include <cstddef>
#include <vector>

#include "CADBaseUnknown.h"
#include "CADListVal.h"
#include "CADString.h"

class CADNotification;

// What a command answers to a change of its state.
enum CADStatusChangeRC {
  CADStatusChangeRCCompleted = 0,
  CADStatusChangeRCAborted = 1,
};

// How far a notification travels after AnalyseNotification.
enum CADNotifPropagation {
  CADNotifTransmitToFather = 0,
  CADNotifDontTransmitToFather = 1,
};

// How a command ended, as it reports it (None: it said nothing; dialogs and host commands).
enum class CADCommandResult { None, Succeeded, Warning, Failed, Cancelled };

struct CADCommandOutcome {
  CADString name;
  CADCommandResult result = CADCommandResult::None;
};

// The message of a status-change request (the host passes it on unchanged;
// commands of this integration use 1 and 100).
using CADCommandMsg = int;

class CADCommand : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADCommand)

 public:
  // --- lifecycle (session thread)
  explicit CADCommand(const char* name = nullptr);
  // Public so that an owner may delete a command it created outright; a
  // deleted command loses its pending timers and its pending destruction.
  ~CADCommand() override;
  CADCommand(const CADCommand&) = delete;
  CADCommand& operator=(const CADCommand&) = delete;

  // Releases the creator's reference at the end of the current loop turn,
  // after the timers. Idempotent: a second request changes nothing.
  virtual void RequestDelayedDestruction();
  bool IsDestructionRequested() const { return destructionRequested_; }

  virtual CADString GetName() const { return name_; }

  // --- state changes, called by the session or another command
  virtual CADNotifPropagation AnalyseNotification(CADCommand* from, CADNotification* notification);
  virtual CADStatusChangeRC Activate(CADCommand* caller, CADNotification* notification);
  virtual CADStatusChangeRC Desactivate(CADCommand* caller, CADNotification* notification);
  virtual CADStatusChangeRC Cancel(CADCommand* caller, CADNotification* notification);
  virtual void BeginCommand() {}
  virtual void EndCommand() {}

  // Asks the session to change this command's status with `message`. The
  // headless session grants every request at once; it records them so that
  // tests can see what a command asked for.
  void RequestStatusChange(CADCommandMsg message, CADCommand* target = nullptr);
  const std::vector<CADCommandMsg>& GetRequestedStatusChanges() const { return statusRequests_; }

  // --- the result: the last one set counts; it is recorded when the command is destroyed (None is not recorded)
  void SetResult(CADCommandResult result) { result_ = result; }
  CADCommandResult GetResult() const { return result_; }
  // The results of the commands destroyed so far, oldest first (the session runner shows them).
  static std::vector<CADCommandOutcome> GetFinishedResults();
  static void ClearFinishedResults();
  // "succeeded", "warning", "failed", "cancelled" or "" for None.
  static const char* ResultWord(CADCommandResult result);

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADCommand, CADBaseUnknown>(this, iid, out);
  }

  // --- diagnostics for tests (any thread)
  // Commands constructed and not yet destroyed.
  static std::size_t LiveCount();
  // Their names, in construction order, for failure messages.
  static CADListValCADString LiveNames();

 private:
  CADString name_;
  bool destructionRequested_ = false;
  std::vector<CADCommandMsg> statusRequests_;
  CADCommandResult result_ = CADCommandResult::None;
};

// The command the host sends Cancel from when the user interrupts the
// current command (Escape, another workbench command). Only a cancel from this
// command, or from no command at all, ends a waiting module command.
class CADCommandHeaderStopper : public CADCommand {
 public:
  CADCommandHeaderStopper() : CADCommand("CADCommandHeaderStopper") {}
};
