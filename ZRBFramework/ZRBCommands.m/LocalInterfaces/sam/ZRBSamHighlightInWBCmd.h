// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBHighlightInWBCmd.h"

class ZRBSamHighlightInWBCmd : public ZRBHighlightInWBCmd {
 public:
  // --- lifecycle
  ZRBSamHighlightInWBCmd() : ZRBHighlightInWBCmd("ZRBSamHighlightInWBCmd") { UseClientMode(ZRBClientMode::Sam()); }
};

ZRBSamHighlightInWBCmd* fctCreateZRBSamHighlightInWBCmd();
