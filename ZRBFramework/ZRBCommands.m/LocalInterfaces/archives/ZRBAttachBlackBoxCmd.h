// Attaches a black box (a data set the host does not read) to a PDM product.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBAttachBlackBoxCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBAttachBlackBoxCmd() : ZRBCommand("ZRBAttachBlackBoxCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBAttachBlackBoxCmd* fctCreateZRBAttachBlackBoxCmd();
