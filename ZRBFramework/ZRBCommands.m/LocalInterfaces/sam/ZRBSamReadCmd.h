// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed and reads the read's settings again under "SAM_" ("SAM_ZRB_DISABLE_LOAD_STDCADPARTS" ...),
// so that the standard client's settings never reach a SAM read.
#pragma once

#include "ZRBReadCmd.h"

class ZRBSamReadCmd : public ZRBReadCmd {
 public:
  // --- lifecycle
  explicit ZRBSamReadCmd(int mode = 1);
  ZRBSamReadCmd(int mode, int requestChange, CADCommandMsg message);

 private:
  void UseSamClient();
};

ZRBSamReadCmd* fctCreateZRBSamReadCmd(int mode);
