// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBAttachArchiveCmd.h"

class ZRBSamAttachArchiveCmd : public ZRBAttachArchiveCmd {
 public:
  // --- lifecycle
  ZRBSamAttachArchiveCmd() : ZRBAttachArchiveCmd("ZRBSamAttachArchiveCmd") { UseClientMode(ZRBClientMode::Sam()); }
};

ZRBSamAttachArchiveCmd* fctCreateZRBSamAttachArchiveCmd();
