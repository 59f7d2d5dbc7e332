// Saves the session to a local session file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBSaveLocalCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBSaveLocalCmd() : ZRBCommand("ZRBSaveLocalCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd();
