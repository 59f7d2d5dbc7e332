// Pointing into the CAD session and back: an item path of the vault ("Assembly/Bracket.1/Bolt.2": a part number,
// then the instance names of the uses below it) becomes the OBID and relation path the session searches its
// structure by, and the relation path the session sends for its selection ("x3HighlightInWB") becomes an item
// path again, so what the PDM user reads back is what `pdmsim highlight` takes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "Vault.h"
#include "VaultCatalog.h"

namespace pdmsim {

// One instance of the structure as the session searches it.
struct PointedItem {
  std::string obid;                    // the item at the end of the path ("EDESC_ID")
  std::vector<std::string> relations;  // relation OBIDs from the top down ("NHA_ID_LIST"); empty for the top item
};

class ItemPaths {
 public:
  explicit ItemPaths(Vault& vault) : catalog_(vault) {}
  // Throws PdmError naming the step that leads nowhere.
  PointedItem Resolve(const std::string& itemPath);
  // The item path of `obid` reached through `relationsUpward` (the node's own relation first); nullopt with
  // `why` when a relation is unknown or does not lead to the item before it.
  std::optional<std::string> Describe(const std::string& obid, const std::vector<std::string>& relationsUpward,
                                      std::string& why);

 private:
  VaultCatalog catalog_;
};

// The highlight file the session reads: the first item in "ROOT", the others listed in its "ITEMLIST"; each
// selects the instance itself.
ExchangeFile HighlightFile(const std::vector<PointedItem>& items);
// The work-plane file: "ROOT" names the instance to work in.
ExchangeFile WorkplaneFile(const PointedItem& item);

// "x3HighlightInWB": resolves every object the request lists and returns the journal's outcome text.
std::string AnswerShowInWorkbench(Vault& vault, ExchangeFile& file);

}  // namespace pdmsim
