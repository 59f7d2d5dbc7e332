// Saves a document as a new PDM item (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBSaveAsCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSaveAsCmd() : ZRBOneStepCommand("ZRBSaveAsCmd") {}
};

ZRBSaveAsCmd* fctCreateZRBSaveAsCmd();
