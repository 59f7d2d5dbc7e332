// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and sends the created document through the SAM client's update.
#pragma once

#include "ZRBCreateCmd.h"

class ZRBSamCreateCmd : public ZRBCreateCmd {
 public:
  // --- lifecycle
  ZRBSamCreateCmd() : ZRBCreateCmd("ZRBSamCreateCmd") { UseClientMode(ZRBClientMode::Sam()); }

  // --- follow-on command: the SAM client's update (mode 1, no status change)
  ZRBUpdateCmd* CreateUpdateCmd() override;
};

ZRBSamCreateCmd* fctCreateZRBSamCreateCmd();
