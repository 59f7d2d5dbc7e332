// Fetches the original geometry of the selected visualisation nodes together with their vis files; it needs the
// host's cache ("CacheActivation" of "CADCache"), where the vis files are kept.
#pragma once

#include "ZRBGetOrigGeoForVisCmd.h"

class ZRBGetOrigGeoAndVisCmd : public ZRBGetOrigGeoForVisCmd {
 public:
  ZRBGetOrigGeoAndVisCmd() : ZRBGetOrigGeoForVisCmd("ZRBGetOrigGeoAndVisCmd") {}

 protected:
  Outcome Work() override;
  // Adds "VIS_LOCATION": the file name of the node's location with ".vis".
  void SetSlotsToObject(ZRBObject& object, const ZRBOrigGeoAttributes& attributes) override;
  HRESULT CreateCommandObject(ZRBObjectManager& request, const CADListValCADString& keys) override;
};

ZRBGetOrigGeoAndVisCmd* fctCreateZRBGetOrigGeoAndVisCmd();
