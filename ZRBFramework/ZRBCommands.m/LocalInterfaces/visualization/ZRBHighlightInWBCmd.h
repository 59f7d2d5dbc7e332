// Shows the selected products in the PDM workbench.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include "ZRBCommand.h"

class ZRBHighlightInWBCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBHighlightInWBCmd() : ZRBCommand("ZRBHighlightInWBCmd") {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override { return ReportNotAvailable(); }

 protected:
  // For the SAM client's variant.
  explicit ZRBHighlightInWBCmd(const char* name) : ZRBCommand(name) {}
};

ZRBHighlightInWBCmd* fctCreateZRBHighlightInWBCmd();
