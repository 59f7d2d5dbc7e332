// Checks products against the PDM and replaces them.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCheckReplaceCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCheckReplaceCmd() : ZRBOneStepCommand("ZRBCheckReplaceCmd") {}
};

ZRBCheckReplaceCmd* fctCreateZRBCheckReplaceCmd();
