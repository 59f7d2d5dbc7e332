// Replaces visualisation data by the original geometry from the PDM, keeping the visualisation.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBGetOrigGeoAndVisCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBGetOrigGeoAndVisCmd() : ZRBCommand("ZRBGetOrigGeoAndVisCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBGetOrigGeoAndVisCmd* fctCreateZRBGetOrigGeoAndVisCmd();
