// Replaces the session structure by the PDM structure (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBUsePdmStructureCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBUsePdmStructureCmd() : ZRBOneStepCommand("ZRBUsePdmStructureCmd") {}
};

ZRBUsePdmStructureCmd* fctCreateZRBUsePdmStructureCmd();
