// Edits the non-host files of an archive.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBModifyNonCadArchiveCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBModifyNonCadArchiveCmd() : ZRBOneStepCommand("ZRBModifyNonCadArchiveCmd") {}
};

ZRBModifyNonCadArchiveCmd* fctCreateZRBModifyNonCadArchiveCmd();
