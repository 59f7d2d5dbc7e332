// Reads a catalog from the PDM into the session.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCatalogReadCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCatalogReadCmd() : ZRBCommand("ZRBCatalogReadCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCatalogReadCmd* fctCreateZRBCatalogReadCmd();
