// Synchronises attributes and design tables with the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBSynchronizeCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBSynchronizeCmd() : ZRBCommand("ZRBSynchronizeCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }

 protected:
  // For the SAM client's variant.
  explicit ZRBSynchronizeCmd(const char* name) : ZRBCommand(name) {}
};

ZRBSynchronizeCmd* fctCreateZRBSynchronizeCmd();
