// Checks products against the PDM and replaces them.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCheckReplaceCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCheckReplaceCmd() : ZRBCommand("ZRBCheckReplaceCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCheckReplaceCmd* fctCreateZRBCheckReplaceCmd();
