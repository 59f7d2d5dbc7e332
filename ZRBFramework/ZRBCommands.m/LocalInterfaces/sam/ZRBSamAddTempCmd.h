// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBAddTempCmd.h"

class ZRBSamAddTempCmd : public ZRBAddTempCmd {
 public:
  // --- lifecycle
  ZRBSamAddTempCmd() : ZRBAddTempCmd("ZRBSamAddTempCmd") { UseClientMode(ZRBClientMode::Sam()); }

  // --- follow-on command: the SAM client's read command
  ZRBReadCmd* CreateReadCmd() override;
};

ZRBSamAddTempCmd* fctCreateZRBSamAddTempCmd();
