// Shows the selected products in the PDM workbench.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBHighlightInWBCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBHighlightInWBCmd() : ZRBOneStepCommand("ZRBHighlightInWBCmd") {}

 protected:
  // For the SAM client's variant.
  explicit ZRBHighlightInWBCmd(const char* name) : ZRBOneStepCommand(name) {}
};

ZRBHighlightInWBCmd* fctCreateZRBHighlightInWBCmd();
