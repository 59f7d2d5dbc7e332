// Creates a legacy model item in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCreateLegacyCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCreateLegacyCmd() : ZRBCommand("ZRBCreateLegacyCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCreateLegacyCmd* fctCreateZRBCreateLegacyCmd();
