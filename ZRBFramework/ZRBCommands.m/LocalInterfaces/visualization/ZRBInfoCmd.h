// Shows PDM information for the selected object.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBInfoCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBInfoCmd() : ZRBOneStepCommand("ZRBInfoCmd") {}
};

ZRBInfoCmd* fctCreateZRBInfoCmd();
