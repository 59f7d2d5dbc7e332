// Loads the products marked in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBReadMarkedCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBReadMarkedCmd() : ZRBCommand("ZRBReadMarkedCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBReadMarkedCmd* fctCreateZRBReadMarkedCmd();
