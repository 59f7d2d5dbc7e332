// Accumulates transformations through inaccessible assembly levels into positions.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBTrafoAccumulateCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBTrafoAccumulateCmd() : ZRBCommand("ZRBTrafoAccumulateCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBTrafoAccumulateCmd* fctCreateZRBTrafoAccumulateCmd();
