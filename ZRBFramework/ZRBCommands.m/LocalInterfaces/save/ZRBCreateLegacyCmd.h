// Creates a legacy model item in the PDM for the part instance selected in a product window
// ("x3CreateCADLegacyFromFile"): the part's file goes into the exchange map under the ".model" extension, described
// with the part's and its father's identity.
#pragma once

#include "ZRBOneStepCommand.h"

class ZRBCreateLegacyCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateLegacyCmd() : ZRBOneStepCommand("ZRBCreateLegacyCmd") {}

  // 1 created, 0 failed (the reason is in the warnings or was shown).
  int CreateLegacyObject();

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;
};

ZRBCreateLegacyCmd* fctCreateZRBCreateLegacyCmd();
