// Creates a PDM item for an open document (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCreateForDocCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCreateForDocCmd() : ZRBCommand("ZRBCreateForDocCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCreateForDocCmd* fctCreateZRBCreateForDocCmd();
