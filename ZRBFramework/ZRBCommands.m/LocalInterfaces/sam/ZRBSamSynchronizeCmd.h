// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBSynchronizeCmd.h"

class ZRBSamSynchronizeCmd : public ZRBSynchronizeCmd {
 public:
  // --- lifecycle
  ZRBSamSynchronizeCmd() : ZRBSynchronizeCmd("ZRBSamSynchronizeCmd") { UseClientMode(ZRBClientMode::Sam()); }
};

ZRBSamSynchronizeCmd* fctCreateZRBSamSynchronizeCmd();
