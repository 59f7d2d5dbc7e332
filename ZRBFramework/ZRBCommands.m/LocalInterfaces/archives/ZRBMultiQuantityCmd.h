// Marks instances as one multi-quantity position.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBMultiQuantityCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBMultiQuantityCmd() : ZRBOneStepCommand("ZRBMultiQuantityCmd") {}
};

ZRBMultiQuantityCmd* fctCreateZRBMultiQuantityCmd();
