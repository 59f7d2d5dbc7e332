// Opens the SAM client's session ("samcl StartSam") and learns the port the client listens on: the client
// leaves it in "samconnectport" in the exchange map (one native 4-byte integer); a new port becomes the
// setting "CONNECTPORT" (under "SAM_") and the process variable "SAMCONNECTPORT" the PDM programs read.
#pragma once

#include <optional>

#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBSamStartCmd : public ZRBOneStepCommand {
 public:
  static constexpr const char* kPortFileName = "samconnectport";

  // --- lifecycle
  ZRBSamStartCmd() : ZRBOneStepCommand("ZRBSamStartCmd") { UseClientMode(ZRBClientMode::Sam()); }

  // The port in `path`; none (traced) when the file cannot be opened or holds fewer than four bytes.
  static std::optional<int> ReadPortFile(const CADUnicodeString& path);

 protected:
  // The start has no dialog and no wait: a failed start leaves the port settings as they were and ends too.
  Outcome Work() override;

 private:
  // "SAMCONNECTPORT" for the programs the module starts; 0 when the environment refused it.
  static int ExportPort(const char* port);
};

ZRBSamStartCmd* fctCreateZRBSamStartCmd();
