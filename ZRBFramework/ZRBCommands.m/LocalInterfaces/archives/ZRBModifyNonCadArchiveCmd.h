// Edits the non-host files of an archive.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBModifyNonCadArchiveCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBModifyNonCadArchiveCmd() : ZRBCommand("ZRBModifyNonCadArchiveCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBModifyNonCadArchiveCmd* fctCreateZRBModifyNonCadArchiveCmd();
