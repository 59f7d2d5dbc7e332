// Opens the module's options.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBOptionsCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBOptionsCmd() : ZRBOneStepCommand("ZRBOptionsCmd") {}
};

ZRBOptionsCmd* fctCreateZRBOptionsCmd();
