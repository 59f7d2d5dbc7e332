// Saves a document as a new legacy PDM item (a two-step round trip).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBSaveAsLegacyCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBSaveAsLegacyCmd() : ZRBCommand("ZRBSaveAsLegacyCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBSaveAsLegacyCmd* fctCreateZRBSaveAsLegacyCmd();
