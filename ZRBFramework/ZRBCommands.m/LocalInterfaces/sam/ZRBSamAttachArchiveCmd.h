// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed, sends the attach with the SAM client's own word and updates the father through the SAM
// client's update.
#pragma once

#include "ZRBAttachArchiveCmd.h"

class ZRBSamAttachArchiveCmd : public ZRBAttachArchiveCmd {
 public:
  // --- lifecycle
  ZRBSamAttachArchiveCmd() : ZRBAttachArchiveCmd("ZRBSamAttachArchiveCmd") { UseClientMode(ZRBClientMode::Sam()); }

 protected:
  std::string_view ActionWord() const override;
  ZRBUpdateCmd* CreateUpdateCmd() override;
};

ZRBSamAttachArchiveCmd* fctCreateZRBSamAttachArchiveCmd();
