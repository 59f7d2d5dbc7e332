// What the PDM user has picked: the items chosen for the next delivery to the
// CAD session (`load-into-cad`) and the items marked for the read-marked command.
#pragma once

#include <string>
#include <vector>

#include "Vault.h"

namespace pdmsim {

class PdmSelection {
 public:
  explicit PdmSelection(Vault& vault) : vault_(vault) {}

  // Item OBIDs in the order the user gave them; replaced as a whole.
  std::vector<std::string> Choice();
  void SetChoice(const std::vector<std::string>& itemObids);
  std::vector<std::string> Marks();
  void SetMarks(const std::vector<std::string>& itemObids);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
