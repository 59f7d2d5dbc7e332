// Reconciles components that were moved.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBReconcileCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBReconcileCmd() : ZRBCommand("ZRBReconcileCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }
};

ZRBReconcileCmd* fctCreateZRBReconcileCmd();
