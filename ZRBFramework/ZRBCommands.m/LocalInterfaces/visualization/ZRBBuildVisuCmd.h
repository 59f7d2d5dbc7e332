// Builds or updates the visualisation (vis) documents of PDM products.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBBuildVisuCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBBuildVisuCmd() : ZRBOneStepCommand("ZRBBuildVisuCmd") {}
};

ZRBBuildVisuCmd* fctCreateZRBBuildVisuCmd();
