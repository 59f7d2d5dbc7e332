// Saves a document as a new legacy PDM item (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBSaveAsLegacyCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSaveAsLegacyCmd() : ZRBOneStepCommand("ZRBSaveAsLegacyCmd") {}
};

ZRBSaveAsLegacyCmd* fctCreateZRBSaveAsLegacyCmd();
