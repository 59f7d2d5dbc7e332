// Shows PDM information for the selected object.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBInfoCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBInfoCmd() : ZRBCommand("ZRBInfoCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBInfoCmd* fctCreateZRBInfoCmd();
