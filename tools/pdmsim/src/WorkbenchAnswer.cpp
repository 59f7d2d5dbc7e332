#include "WorkbenchAnswer.h"

#include <set>

#include "ExchangeFile.h"
#include "VaultCatalog.h"

namespace pdmsim {

std::string WorkbenchAnswer::Answer(ExchangeFile& file) {
  VaultCatalog catalog(vault_);
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  int instances = 0;
  int unknown = 0;
  const auto check = [&](const std::string& obid) {
    if (!obid.empty() && catalog.FindItem(obid)) return;
    ++unknown;
    root.Append("STATS", "Reference PDM: the workbench entry " + (obid.empty() ? std::string("(none)") : obid) +
                             " is not in the vault.");
  };
  // A chain that loops is a request no module writes: each object is followed once.
  std::set<std::string> seen{"ROOT"};
  for (std::string key = root.Get("NEXT_OP"); !key.empty() && seen.insert(key).second;) {
    const ExchangeObject* object = file.Find(key);
    if (!object) break;
    ++instances;
    check(object->Get("OBID"));
    key = object->Get("NEXT_OP");
  }
  const std::vector<std::string> topLevel = root.GetList("TOP_LEVEL");
  for (const std::string& key : topLevel)
    if (const ExchangeObject* object = file.Find(key)) check(object->Get("OBID"));
  root.Set("ACTION_SUCCESS", unknown > 0 ? "3" : "1");
  return std::to_string(instances) + " instances, " + std::to_string(topLevel.size()) + " top-level items, " +
         std::to_string(unknown) + " unknown";
}

}  // namespace pdmsim
