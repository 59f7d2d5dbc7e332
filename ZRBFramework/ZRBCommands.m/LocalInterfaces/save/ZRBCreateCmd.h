// Creates a new part, drawing or product in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCreateCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCreateCmd() : ZRBCommand("ZRBCreateCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }

 protected:
  // For the SAM client's variant.
  explicit ZRBCreateCmd(const char* name) : ZRBCommand(name) {}
};

ZRBCreateCmd* fctCreateZRBCreateCmd();
