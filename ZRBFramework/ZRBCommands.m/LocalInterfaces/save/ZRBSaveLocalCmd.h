// Saves the session to a local session file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBSaveLocalCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBSaveLocalCmd() : ZRBOneStepCommand("ZRBSaveLocalCmd") {}
};

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd();
