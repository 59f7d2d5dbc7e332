// Loads the products marked in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBReadMarkedCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBReadMarkedCmd() : ZRBOneStepCommand("ZRBReadMarkedCmd") {}
};

ZRBReadMarkedCmd* fctCreateZRBReadMarkedCmd();
