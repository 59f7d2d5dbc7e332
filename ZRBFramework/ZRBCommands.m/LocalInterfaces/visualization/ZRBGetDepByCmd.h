// Loads the documents that depend on a PDM document.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBGetDepByCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBGetDepByCmd() : ZRBCommand("ZRBGetDepByCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBGetDepByCmd* fctCreateZRBGetDepByCmd();
