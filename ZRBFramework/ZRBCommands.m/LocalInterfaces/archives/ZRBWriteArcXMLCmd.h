// Writes the archive XML of a product; started through the module-communication component.
// The command is not available yet: activating it runs the integrity check, traces that and ends it.
#pragma once

#include <string>

#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBWriteArcXMLCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBWriteArcXMLCmd(const CADUnicodeString& first = CADUnicodeString(),
                    const CADUnicodeString& second = CADUnicodeString())
      : ZRBOneStepCommand("ZRBWriteArcXMLCmd"), first_(first), second_(second) {}

 protected:
  // --- the one-step steps
  std::string NotAvailableDetail() const override { return "('" + first_.str() + "', '" + second_.str() + "')"; }

 private:
  CADUnicodeString first_;
  CADUnicodeString second_;
};

ZRBWriteArcXMLCmd* fctCreateZRBWriteArcXMLCmd();
