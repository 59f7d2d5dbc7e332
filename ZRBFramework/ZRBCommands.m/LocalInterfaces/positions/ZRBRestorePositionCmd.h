// Restores the positions that the PDM last knew.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBRestorePositionCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBRestorePositionCmd() : ZRBCommand("ZRBRestorePositionCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBRestorePositionCmd* fctCreateZRBRestorePositionCmd();
