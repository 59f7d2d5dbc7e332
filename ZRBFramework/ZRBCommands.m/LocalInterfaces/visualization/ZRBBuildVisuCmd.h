// Builds or updates the visualisation (vis) documents of PDM products.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBBuildVisuCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBBuildVisuCmd() : ZRBCommand("ZRBBuildVisuCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBBuildVisuCmd* fctCreateZRBBuildVisuCmd();
