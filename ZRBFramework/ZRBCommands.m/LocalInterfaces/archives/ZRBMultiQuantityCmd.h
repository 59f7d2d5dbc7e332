// Marks instances as one multi-quantity position.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBMultiQuantityCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBMultiQuantityCmd() : ZRBCommand("ZRBMultiQuantityCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBMultiQuantityCmd* fctCreateZRBMultiQuantityCmd();
