// Restores a session from a local session file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBRestoreLocalCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBRestoreLocalCmd() : ZRBCommand("ZRBRestoreLocalCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBRestoreLocalCmd* fctCreateZRBRestoreLocalCmd();
