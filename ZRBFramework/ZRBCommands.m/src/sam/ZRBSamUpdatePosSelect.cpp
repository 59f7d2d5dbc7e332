#include "ZRBSamUpdatePosSelect.h"

#include "ZRBConfigTopicManager.h"

ZRBSamUpdatePosSelect::ZRBSamUpdatePosSelect(ZRBObjectManager& request, Handler& handler, bool positions, bool models)
    : ZRBUpdatePosSelect("ZRBSamUpdatePosSelect", request, handler, positions, models) {
  g_ZRBConfig.SetModulePrefix("SAM_");
}

CADListValCADString ZRBSamUpdatePosSelect::GetResourceFilename() const {
  return CADListValCADString{"ZRBSamUpdatePosSelect", "ZRBUpdatePosSelect"};
}
