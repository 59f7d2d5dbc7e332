// Replaces visualisation data by the original geometry from the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBGetOrigGeoForVisCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBGetOrigGeoForVisCmd() : ZRBCommand("ZRBGetOrigGeoForVisCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBGetOrigGeoForVisCmd* fctCreateZRBGetOrigGeoForVisCmd();
