// Loads the items the user marked in the PDM: a plain read (mode 1) whose request carries "MARKEDFLAG" "ON".
#pragma once

#include "ZRBReadCmd.h"

class ZRBReadMarkedCmd : public ZRBReadCmd {
 public:
  // --- lifecycle
  // Mode 0 is no read mode of its own: the read sends a request, as in mode 1.
  ZRBReadMarkedCmd() : ZRBReadCmd(0, "ZRBReadCmd") { SetReadMarked(1); }
  ~ZRBReadMarkedCmd() override = default;
};

ZRBReadMarkedCmd* fctCreateZRBReadMarkedCmd();
