// Reads a catalog from the PDM into the session.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCatalogReadCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCatalogReadCmd() : ZRBOneStepCommand("ZRBCatalogReadCmd") {}
};

ZRBCatalogReadCmd* fctCreateZRBCatalogReadCmd();
