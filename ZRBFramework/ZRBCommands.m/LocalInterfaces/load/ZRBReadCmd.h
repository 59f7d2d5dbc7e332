// Loads a PDM structure into the session (modes 1, 2 and 5).
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "ZRBCommand.h"

class ZRBReadCmd : public ZRBCommand {
 public:
  // --- lifecycle
  explicit ZRBReadCmd(int mode = 1, const char* name = "ZRBReadCmd") : ZRBCommand(name), mode_(mode) {}
  ZRBReadCmd(int mode, int requestChange, CADCommandMsg message, const char* name = "ZRBReadCmd")
      : ZRBCommand(name, requestChange, message), mode_(mode) {}
  int GetMode() const { return mode_; }

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    return ReportNotAvailable("(mode " + std::to_string(mode_) + ")");
  }

 private:
  int mode_;
};

ZRBReadCmd* fctCreateZRBReadCmd(int mode);
