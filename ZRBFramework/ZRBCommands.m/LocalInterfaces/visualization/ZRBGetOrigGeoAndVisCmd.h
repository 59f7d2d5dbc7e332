// Replaces visualisation data by the original geometry from the PDM, keeping the visualisation.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBGetOrigGeoAndVisCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBGetOrigGeoAndVisCmd() : ZRBOneStepCommand("ZRBGetOrigGeoAndVisCmd") {}
};

ZRBGetOrigGeoAndVisCmd* fctCreateZRBGetOrigGeoAndVisCmd();
