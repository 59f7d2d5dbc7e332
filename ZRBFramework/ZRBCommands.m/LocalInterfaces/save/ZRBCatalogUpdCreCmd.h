// Creates or updates a catalog in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCatalogUpdCreCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCatalogUpdCreCmd() : ZRBCommand("ZRBCatalogUpdCreCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCatalogUpdCreCmd* fctCreateZRBCatalogUpdCreCmd();
