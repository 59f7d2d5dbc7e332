// The PDM workbench entries a step-by-step synchronisation brings up to date ("x3UpdateWBFromFile" on
// "UpdWbfile.zrb"): follows the instance chain from "ROOT" through "NEXT_OP" and the top-level items of
// "TOP_LEVEL", and answers whether the vault knows each of them.
#pragma once

#include <string>

namespace pdmsim {

class Vault;
class ExchangeFile;

class WorkbenchAnswer {
 public:
  explicit WorkbenchAnswer(Vault& vault) : vault_(vault) {}
  // "ACTION_SUCCESS" "1" when every item is known, "3" with a "STATS" line per unknown one; the journal's outcome.
  std::string Answer(ExchangeFile& file);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
