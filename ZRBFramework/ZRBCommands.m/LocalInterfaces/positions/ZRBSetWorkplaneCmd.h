// Sets the work plane on a product named by the PDM.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADString.h"
#include "ZRBCommand.h"

class ZRBSetWorkplaneCmd : public ZRBCommand {
 public:
  // --- lifecycle
  explicit ZRBSetWorkplaneCmd(const CADString& parameter = CADString())
      : ZRBCommand("ZRBSetWorkplaneCmd"), parameter_(parameter) {}
  const CADString& GetParameter() const { return parameter_; }

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    return ReportNotAvailable("('" + parameter_.str() + "')");
  }

 private:
  CADString parameter_;
};

ZRBSetWorkplaneCmd* fctCreateZRBSetWorkplaneCmd(const CADString& parameter);
