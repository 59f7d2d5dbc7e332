// An item as scripts read it (`pdmsim vault show ITEM --json`): identity, its
// CAD document's file and date, and its children with their positions.
#pragma once

#include <nlohmann/json.hpp>

#include "VaultCatalog.h"

namespace pdmsim {

class ItemJson {
 public:
  // {"partnumber", "obid", "classname", "modified", "file", "children": [{"instance", "relation", "partnumber",
  // "matrix": [16 numbers in the order of the position text]}]}; "modified" and "file" are the CAD document's
  // (empty for an item without one).
  static nlohmann::ordered_json Of(VaultCatalog& catalog, const Item& item);
};

}  // namespace pdmsim
