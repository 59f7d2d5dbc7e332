// Sets the work plane on a product named by the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADString.h"
#include "ZRBOneStepCommand.h"

class ZRBSetWorkplaneCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  explicit ZRBSetWorkplaneCmd(const CADString& parameter = CADString())
      : ZRBOneStepCommand("ZRBSetWorkplaneCmd"), parameter_(parameter) {}
  const CADString& GetParameter() const { return parameter_; }

 protected:
  // --- the one-step steps
  std::string NotAvailableDetail() const override { return "('" + parameter_.str() + "')"; }

 private:
  CADString parameter_;
};

ZRBSetWorkplaneCmd* fctCreateZRBSetWorkplaneCmd(const CADString& parameter);
