// Reconciles components that were moved.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBReconcileCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBReconcileCmd() : ZRBOneStepCommand("ZRBReconcileCmd") {}
};

ZRBReconcileCmd* fctCreateZRBReconcileCmd();
