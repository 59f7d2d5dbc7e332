// Adds a temporary part from the PDM into the session (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBAddTempCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBAddTempCmd() : ZRBCommand("ZRBAddTempCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }

 protected:
  // For the SAM client's variant.
  explicit ZRBAddTempCmd(const char* name) : ZRBCommand(name) {}
};

ZRBAddTempCmd* fctCreateZRBAddTempCmd();
