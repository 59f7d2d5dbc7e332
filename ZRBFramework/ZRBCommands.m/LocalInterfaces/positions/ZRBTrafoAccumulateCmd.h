// Accumulates transformations through inaccessible assembly levels into positions.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBTrafoAccumulateCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBTrafoAccumulateCmd() : ZRBOneStepCommand("ZRBTrafoAccumulateCmd") {}
};

ZRBTrafoAccumulateCmd* fctCreateZRBTrafoAccumulateCmd();
