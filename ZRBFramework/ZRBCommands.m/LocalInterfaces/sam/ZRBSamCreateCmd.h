// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBCreateCmd.h"

class ZRBSamCreateCmd : public ZRBCreateCmd {
 public:
  // --- lifecycle
  ZRBSamCreateCmd() : ZRBCreateCmd("ZRBSamCreateCmd") { UseClientMode(ZRBClientMode::Sam()); }
};

ZRBSamCreateCmd* fctCreateZRBSamCreateCmd();
