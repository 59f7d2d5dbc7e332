// Replaces the session structure by the PDM structure (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBUsePdmStructureCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBUsePdmStructureCmd() : ZRBCommand("ZRBUsePdmStructureCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBUsePdmStructureCmd* fctCreateZRBUsePdmStructureCmd();
