// Opens the SAM client's session and learns its connection port.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBSamStartCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBSamStartCmd() : ZRBCommand("ZRBSamStartCmd") { UseClientMode(ZRBClientMode::Sam()); }

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBSamStartCmd* fctCreateZRBSamStartCmd();
