// Browses the catalogs kept in the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCatalogCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCatalogCmd() : ZRBCommand("ZRBCatalogCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCatalogCmd* fctCreateZRBCatalogCmd();
