// Loads the documents that a PDM document depends on.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBExternalDocCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBExternalDocCmd() : ZRBOneStepCommand("ZRBExternalDocCmd") {}
};

ZRBExternalDocCmd* fctCreateZRBExternalDocCmd();
