// Attaches the selected product or part as an archive to the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBAttachArchiveCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBAttachArchiveCmd() : ZRBCommand("ZRBAttachArchiveCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }

 protected:
  // For the SAM client's variant.
  explicit ZRBAttachArchiveCmd(const char* name) : ZRBCommand(name) {}
};

ZRBAttachArchiveCmd* fctCreateZRBAttachArchiveCmd();
