// Creates a legacy model item in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCreateLegacyCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateLegacyCmd() : ZRBOneStepCommand("ZRBCreateLegacyCmd") {}
};

ZRBCreateLegacyCmd* fctCreateZRBCreateLegacyCmd();
