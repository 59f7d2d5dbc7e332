// Saves every modified part document of the session that came from the PDM, without the product structures, in
// one "x3UpdateFromFile" round trip, after the designer's model selection when its setting asks for it.
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
  // Removes the vis files the host's local cache keeps of the part at `path` (only with the cache active).
  // The number removed, -1 when the cache directory or a file could not be accessed.
  static int DeleteVisOfCADPart(const CADUnicodeString& path);
  // The model selection's OK: the parts left in the request are sent.
  void ContinueUpdate(ZRBObjectManager& request, const CADIProduct_var& root) override;

 protected:
  Outcome Work() override;

 private:
  // Sends the request and applies the answer to each part; 1 the PDM took the request.
  int SendParts(ZRBObjectManager& request);
};

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd();
