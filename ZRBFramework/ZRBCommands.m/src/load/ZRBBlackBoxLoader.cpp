#include "ZRBBlackBoxLoader.h"

#include "ZRBTrace.h"

namespace {
ZRBBlackBoxLoader::Loader g_loader = nullptr;
}  // namespace

void ZRBBlackBoxLoader::Install(Loader loader) { g_loader = loader; }

int ZRBBlackBoxLoader::Load(ZRBCommandContext& command, const CADIProduct_var& father, ZRBObjectManager& answer,
                            const ZRBObject* box) {
  if (!g_loader) {
    ZRB_DEBUG("ZRB: no black-box loader installed, black box not loaded");
    return 0;
  }
  return g_loader(command, father, answer, box);
}
