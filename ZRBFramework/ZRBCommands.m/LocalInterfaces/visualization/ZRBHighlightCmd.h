// Highlights the products the PDM names in a highlight file.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADString.h"
#include "ZRBOneStepCommand.h"

class ZRBHighlightCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBHighlightCmd(const CADString& parameter = CADString())
      : ZRBOneStepCommand("ZRBHighlightCmd"), parameter_(parameter) {}
  const CADString& GetParameter() const { return parameter_; }

 protected:
  // --- the one-step steps
  std::string NotAvailableDetail() const override { return "('" + parameter_.str() + "')"; }

 private:
  CADString parameter_;
};

ZRBHighlightCmd* fctCreateZRBHighlightCmd(const CADString& parameter);
