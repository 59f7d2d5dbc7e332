// Loads the documents that a PDM document depends on.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBExternalDocCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBExternalDocCmd() : ZRBCommand("ZRBExternalDocCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBExternalDocCmd* fctCreateZRBExternalDocCmd();
