// Shows PDM information for the selected objects: opens the info dialog (or brings the open one up to date) and
// ends; the dialog lives on, following the selection, until it or its window closes.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBInfoCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBInfoCmd() : ZRBOneStepCommand("ZRBInfoCmd") {}

 protected:
  Outcome Work() override;

 private:
  // With "ZRB_GETPOINTEDDOCUMENTS" on: traces the documents the current document points to.
  static void PrintPointedInfo();
};

ZRBInfoCmd* fctCreateZRBInfoCmd();
