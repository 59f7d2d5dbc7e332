// Creates a PDM item for an open document (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCreateForDocCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateForDocCmd() : ZRBOneStepCommand("ZRBCreateForDocCmd") {}
};

ZRBCreateForDocCmd* fctCreateZRBCreateForDocCmd();
