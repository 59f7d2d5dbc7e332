// Creates a drawing for the selected PDM part.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCreateDrawingEZRBCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateDrawingEZRBCmd() : ZRBOneStepCommand("ZRBCreateDrawingEZRBCmd") {}
};

ZRBCreateDrawingEZRBCmd* fctCreateZRBCreateDrawingEZRBCmd();
