// Synchronises attributes and design tables with the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBSynchronizeCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSynchronizeCmd() : ZRBOneStepCommand("ZRBSynchronizeCmd") {}

 protected:
  // For the SAM client's variant.
  explicit ZRBSynchronizeCmd(const char* name) : ZRBOneStepCommand(name) {}
};

ZRBSynchronizeCmd* fctCreateZRBSynchronizeCmd();
