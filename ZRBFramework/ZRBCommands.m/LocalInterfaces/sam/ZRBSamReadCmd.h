// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBReadCmd.h"

class ZRBSamReadCmd : public ZRBReadCmd {
 public:
  // --- lifecycle
  explicit ZRBSamReadCmd(int mode = 1) : ZRBReadCmd(mode, "ZRBSamReadCmd") { UseClientMode(ZRBClientMode::Sam()); }
  ZRBSamReadCmd(int mode, int requestChange, CADCommandMsg message)
      : ZRBReadCmd(mode, requestChange, message, "ZRBSamReadCmd") {
    UseClientMode(ZRBClientMode::Sam());
  }
};

ZRBSamReadCmd* fctCreateZRBSamReadCmd(int mode);
