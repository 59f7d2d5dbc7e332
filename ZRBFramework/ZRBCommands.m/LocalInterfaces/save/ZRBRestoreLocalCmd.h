// Restores a session from a local session file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBRestoreLocalCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBRestoreLocalCmd() : ZRBOneStepCommand("ZRBRestoreLocalCmd") {}
};

ZRBRestoreLocalCmd* fctCreateZRBRestoreLocalCmd();
