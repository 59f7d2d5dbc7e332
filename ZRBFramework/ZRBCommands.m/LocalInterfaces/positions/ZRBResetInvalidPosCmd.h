// Resets the invalid positions of new instances.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBResetInvalidPosCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBResetInvalidPosCmd() : ZRBCommand("ZRBResetInvalidPosCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBResetInvalidPosCmd* fctCreateZRBResetInvalidPosCmd();
