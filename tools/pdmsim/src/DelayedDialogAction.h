// Completes or cancels a PDM dialog automatically some seconds after it was
// opened (for demos): configured once in the vault, carried out by a detached
// pdmsim process so the session command returns at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Vault.h"

namespace pdmsim {

struct AutoDialogSetting {
  int afterSeconds = 0;
  std::vector<std::string> dialogArgs;  // e.g. {"complete", "--choose", "BOLT-M8"} or {"cancel"}
};

class DelayedDialogAction {
 public:
  static std::optional<AutoDialogSetting> Load(Vault& vault);
  static void Save(Vault& vault, const AutoDialogSetting& setting);
  static void Clear(Vault& vault);

  // Starts the detached completion for this dialog when one is configured.
  static void StartIfConfigured(Vault& vault, std::int64_t dialogId);
};

}  // namespace pdmsim
