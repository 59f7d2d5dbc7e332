// Attaches the selected product or part as an archive to the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBAttachArchiveCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBAttachArchiveCmd() : ZRBOneStepCommand("ZRBAttachArchiveCmd") {}

 protected:
  // For the SAM client's variant.
  explicit ZRBAttachArchiveCmd(const char* name) : ZRBOneStepCommand(name) {}
};

ZRBAttachArchiveCmd* fctCreateZRBAttachArchiveCmd();
