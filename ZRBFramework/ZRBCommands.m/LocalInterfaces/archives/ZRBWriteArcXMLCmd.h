// Writes the archive XML of a product; started through the module-communication component.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADUnicodeString.h"
#include "ZRBCommand.h"

class ZRBWriteArcXMLCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBWriteArcXMLCmd(const CADUnicodeString& first = CADUnicodeString(),
                    const CADUnicodeString& second = CADUnicodeString())
      : ZRBCommand("ZRBWriteArcXMLCmd"), first_(first), second_(second) {}

  // --- host command
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    return ReportNotAvailable("('" + first_.str() + "', '" + second_.str() + "')");
  }

 private:
  CADUnicodeString first_;
  CADUnicodeString second_;
};

ZRBWriteArcXMLCmd* fctCreateZRBWriteArcXMLCmd();
