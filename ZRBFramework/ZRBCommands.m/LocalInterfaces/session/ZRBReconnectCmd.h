// Reconnects references and instances to PDM objects.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBReconnectCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBReconnectCmd() : ZRBOneStepCommand("ZRBReconnectCmd") {}
};

ZRBReconnectCmd* fctCreateZRBReconnectCmd();
