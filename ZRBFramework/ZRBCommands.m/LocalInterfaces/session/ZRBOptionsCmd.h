// Opens the module's options.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBOptionsCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBOptionsCmd() : ZRBCommand("ZRBOptionsCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBOptionsCmd* fctCreateZRBOptionsCmd();
