// Updates (checks in) all parts of the session to the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBUpdateAllPartsCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBUpdateAllPartsCmd() : ZRBOneStepCommand("ZRBUpdateAllPartsCmd") {}
};

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd();
