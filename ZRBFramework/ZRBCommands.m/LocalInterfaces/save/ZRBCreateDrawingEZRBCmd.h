// Creates a drawing for the selected PDM part.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBCreateDrawingEZRBCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBCreateDrawingEZRBCmd() : ZRBCommand("ZRBCreateDrawingEZRBCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBCreateDrawingEZRBCmd* fctCreateZRBCreateDrawingEZRBCmd();
