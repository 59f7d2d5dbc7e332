// What the reference PDM does for the second (SAM) client beyond the shared session command: "StartSam" leaves
// the client's connection port in the exchange map, and strict mode refuses words one client never sends.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FaultPlan.h"
#include "Journal.h"
#include "Vault.h"

namespace pdmsim {

class SamClient {
 public:
  static constexpr const char* kPortFileName = "samconnectport";
  static constexpr const char* kPortSetting = "sam.port";              // default 7411
  static constexpr const char* kStrictSetting = "pdm.strict_clients";  // "ON": refuse foreign words

  // "StartSam": writes the port (one native 4-byte integer) to "samconnectport" in the exchange map named by
  // SAM_ZRBXMAP, else ZRBXMAP. Faults: --no-rewrite leaves no file (an old one is removed), --truncate writes
  // two bytes. The exit code (0 done, also without an exchange map to write to; 1 the file could not be written).
  static int Start(Vault& vault, Journal& journal, std::int64_t seq, const std::optional<Fault>& fault);

  // In strict mode, why `role` ("standard", "sam") never sends `action`; empty when it may.
  static std::string RefusalFor(Vault& vault, std::string_view role, std::string_view action);
  // Answers a refused call: the journal says why, a readable request file gets "ACTION_SUCCESS" "0" and the
  // reason as "STATS". The exit code (0 answered in the file, 1 no file to answer in).
  static int Refuse(Journal& journal, std::int64_t seq, const std::string& reason, const std::string& requestPath);
};

}  // namespace pdmsim
