// Resets the invalid positions of new instances.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBResetInvalidPosCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBResetInvalidPosCmd() : ZRBOneStepCommand("ZRBResetInvalidPosCmd") {}
};

ZRBResetInvalidPosCmd* fctCreateZRBResetInvalidPosCmd();
