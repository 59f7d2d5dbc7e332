// Saves every modified part document of the session that came from the PDM, without the product structures, in
// one "x3UpdateFromFile" round trip. The selection dialog between writing and sending is not available yet.
#pragma once

#include <vector>

#include "ZRBUpdateCmd.h"

class ZRBUpdateAllPartsCmd : public ZRBUpdateCmd {
 public:
  // --- lifecycle
  ZRBUpdateAllPartsCmd() : ZRBUpdateCmd(1, "ZRBUpdateAllPartsCmd") {}

  // Parts ("CADPart", "vis") loaded from the PDM and modified; black-box nodes and archive roots aside.
  std::vector<CADDocument*> GetAllModifiedCADParts();
  // "ROOT" and one object per part, each part saved into the exchange map. 0 when nothing is to be sent.
  int UpdateCADParts(ZRBObjectManager& request, const std::vector<CADDocument*>& parts);

 protected:
  Outcome Work() override;
};

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd();
