// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and otherwise behaves as its base.
#pragma once

#include "ZRBUpdateCmd.h"

class ZRBSamUpdateCmd : public ZRBUpdateCmd {
 public:
  // --- lifecycle
  explicit ZRBSamUpdateCmd(int mode = 1) : ZRBUpdateCmd(mode, "ZRBSamUpdateCmd") {
    UseClientMode(ZRBClientMode::Sam());
  }
  ZRBSamUpdateCmd(int mode, int requestChange, CADCommandMsg message)
      : ZRBUpdateCmd(mode, requestChange, message, "ZRBSamUpdateCmd") {
    UseClientMode(ZRBClientMode::Sam());
  }
};

ZRBSamUpdateCmd* fctCreateZRBSamUpdateCmd(int mode);
