// Replaces visualisation data by the original geometry from the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBGetOrigGeoForVisCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBGetOrigGeoForVisCmd() : ZRBOneStepCommand("ZRBGetOrigGeoForVisCmd") {}
};

ZRBGetOrigGeoForVisCmd* fctCreateZRBGetOrigGeoForVisCmd();
