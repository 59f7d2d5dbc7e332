// Highlights the products the PDM names in a highlight file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADString.h"
#include "ZRBCommand.h"

class ZRBHighlightCmd : public ZRBCommand {
 public:
  // --- lifecycle
  explicit ZRBHighlightCmd(const CADString& parameter = CADString())
      : ZRBCommand("ZRBHighlightCmd"), parameter_(parameter) {}
  const CADString& GetParameter() const { return parameter_; }

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    return ReportNotAvailable("('" + parameter_.str() + "')");
  }

 private:
  CADString parameter_;
};

ZRBHighlightCmd* fctCreateZRBHighlightCmd(const CADString& parameter);
