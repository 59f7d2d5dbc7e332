// Browses the catalogs kept in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCatalogCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCatalogCmd() : ZRBOneStepCommand("ZRBCatalogCmd") {}
};

ZRBCatalogCmd* fctCreateZRBCatalogCmd();
