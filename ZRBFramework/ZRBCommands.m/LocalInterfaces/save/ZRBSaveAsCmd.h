// Saves a document as a new PDM item (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBSaveAsCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBSaveAsCmd() : ZRBCommand("ZRBSaveAsCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBSaveAsCmd* fctCreateZRBSaveAsCmd();
