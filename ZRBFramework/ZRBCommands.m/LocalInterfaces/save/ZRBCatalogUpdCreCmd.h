// Creates or updates a catalog in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCatalogUpdCreCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCatalogUpdCreCmd() : ZRBOneStepCommand("ZRBCatalogUpdCreCmd") {}
};

ZRBCatalogUpdCreCmd* fctCreateZRBCatalogUpdCreCmd();
