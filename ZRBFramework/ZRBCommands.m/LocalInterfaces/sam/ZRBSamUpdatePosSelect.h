// The SAM client's position and model selection of an update: the same dialog under its own identifier and
// resource file ("ZRBSamUpdatePosSelect", then "ZRBUpdatePosSelect"); it reads the configuration under "SAM_".
#pragma once

#include "ZRBUpdatePosSelect.h"

class ZRBSamUpdatePosSelect : public ZRBUpdatePosSelect {
 public:
  ZRBSamUpdatePosSelect(ZRBObjectManager& request, Handler& handler, bool positions, bool models);
  CADListValCADString GetResourceFilename() const override;
};
