// Updates (checks in) all parts of the session to the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBUpdateAllPartsCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBUpdateAllPartsCmd() : ZRBCommand("ZRBUpdateAllPartsCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd();
