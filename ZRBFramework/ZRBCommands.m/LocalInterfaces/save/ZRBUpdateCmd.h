// Updates (checks in) documents and structures to the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "ZRBOneStepCommand.h"

class ZRBUpdateCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBUpdateCmd(int mode = 1, const char* name = "ZRBUpdateCmd") : ZRBOneStepCommand(name), mode_(mode) {}
  ZRBUpdateCmd(int mode, int requestChange, CADCommandMsg message, const char* name = "ZRBUpdateCmd")
      : ZRBOneStepCommand(name, requestChange, message), mode_(mode) {}
  int GetMode() const { return mode_; }

 protected:
  // --- the one-step steps
  std::string NotAvailableDetail() const override { return "(mode " + std::to_string(mode_) + ")"; }

 private:
  int mode_;
};

ZRBUpdateCmd* fctCreateZRBUpdateCmd(int mode);
