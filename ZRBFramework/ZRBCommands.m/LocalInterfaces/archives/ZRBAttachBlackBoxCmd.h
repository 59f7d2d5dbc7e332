// Attaches a black box (a data set the host does not read) to a PDM product.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBAttachBlackBoxCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBAttachBlackBoxCmd() : ZRBOneStepCommand("ZRBAttachBlackBoxCmd") {}
};

ZRBAttachBlackBoxCmd* fctCreateZRBAttachBlackBoxCmd();
