// Loads the documents that depend on a PDM document.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBGetDepByCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBGetDepByCmd() : ZRBOneStepCommand("ZRBGetDepByCmd") {}
};

ZRBGetDepByCmd* fctCreateZRBGetDepByCmd();
