// The one-step lifecycle, written once: client mode, integrity check, the command's work (which usually writes a
// request, runs the PDM synchronously and reads the answer through ZRBPdmRequest), the message centre, and the
// delayed destruction. The read, restore-positions and the commands not built yet derive from it and supply
// their steps; the two-step lifecycle is ZRBTwoStepCommand.
//
// Lifecycle (one object, user-interface thread only):
//   Created --Activate--> Working: this command's client mode applied, integrity check (abandons a two-step
//       command still waiting), ReadStartSettings(), Work()
//   Working --Work: Succeeded or Failed--> ShowOutcome(success): the message centre --> Ended
//   Working --Work: Stopped--> Ended without ShowOutcome (the step showed its own message, or there is none)
//   Working --Work: Continues--> WaitingForUser: a dialog of the command is up; the dialog's handlers (or the
//       command's Cancel) finish the work and call End() --> Ended
//   Activate on a command that is no longer Created does nothing (a command starts once).
// Every way into Ended requests the command's delayed destruction once; End() twice does nothing.
//
// Threads: only the user-interface thread touches these objects: Activate, the dialog handlers and Cancel run
// there, between user events. The PDM call inside Work may run on the PDM-call worker (ZRBPdmWorkerCall) while
// this thread waits; the worker touches none of the command's members.
#pragma once

#include <string>

#include "ZRBCommand.h"

class ZRBOneStepCommand : public ZRBCommand {
 public:
  enum class State { Created, Working, WaitingForUser, Ended };
  // What Work() leaves behind.
  enum class Outcome { Succeeded, Failed, Stopped, Continues };

  // --- host command operations
  CADStatusChangeRC Activate(CADCommand* caller, CADNotification* notification) override;

  State GetState() const { return state_; }

 protected:
  ZRBOneStepCommand(const char* name) : ZRBCommand(name) {}
  ZRBOneStepCommand(const char* name, int requestChange, CADCommandMsg message)
      : ZRBCommand(name, requestChange, message) {}

  // --- the steps a command supplies
  // Reads the host settings the command needs before its work (a setting that cannot be read keeps the
  // command's default).
  virtual void ReadStartSettings() {}
  // The command's work. The default is that of a command not built yet: it traces "<name> is not available yet"
  // (with NotAvailableDetail()) and stops.
  virtual Outcome Work();
  // Shows the outcome of a finished work (the message centre with the command's lists); the default shows
  // nothing.
  virtual void ShowOutcome(int success) { static_cast<void>(success); }
  // What the trace line of a command not built yet adds after the name ("(mode 2)", "('<parameter>')").
  virtual std::string NotAvailableDetail() const { return {}; }

  // --- ending
  // Ends the command: requests its delayed destruction once.
  void End();

 private:
  State state_ = State::Created;
};
