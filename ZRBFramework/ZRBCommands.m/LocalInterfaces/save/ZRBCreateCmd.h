// Creates a new part, drawing or product in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCreateCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateCmd() : ZRBOneStepCommand("ZRBCreateCmd") {}

 protected:
  // For the SAM client's variant.
  explicit ZRBCreateCmd(const char* name) : ZRBOneStepCommand(name) {}
};

ZRBCreateCmd* fctCreateZRBCreateCmd();
