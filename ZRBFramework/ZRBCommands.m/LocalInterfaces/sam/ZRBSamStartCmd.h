// Opens the SAM client's session and learns its connection port.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBSamStartCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSamStartCmd() : ZRBOneStepCommand("ZRBSamStartCmd") { UseClientMode(ZRBClientMode::Sam()); }
};

ZRBSamStartCmd* fctCreateZRBSamStartCmd();
