// The answer to "x3GetOrigGeoForVis": the original model of each requested item (and, when asked for, the
// item's vis file) delivered from the vault into the exchange map.
#pragma once

#include <optional>
#include <string>

#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "Vault.h"

namespace pdmsim {

// Fills `file` (the request, rewritten as the answer) and returns the journal's outcome text. The fault's
// `--fail-for` part numbers are not delivered.
std::string AnswerOrigGeo(Vault& vault, ExchangeFile& file, const std::string& exchangeMap,
                          const std::optional<Fault>& fault);

}  // namespace pdmsim
