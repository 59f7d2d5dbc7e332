// Writes the archive structure file of a product document; started through the module-communication component
// (`WriteXml`). First text: the root-product file; second: the structure file's name, written in the directory
// of the root-product file (empty: the root file's name with ".xml"). Failures land in the warnings.
#pragma once

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
  Outcome Work() override;

 private:
  CADUnicodeString first_;
  CADUnicodeString second_;
};

ZRBWriteArcXMLCmd* fctCreateZRBWriteArcXMLCmd();
