// Reconnects references and instances to PDM objects.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBReconnectCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBReconnectCmd() : ZRBCommand("ZRBReconnectCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBReconnectCmd* fctCreateZRBReconnectCmd();
