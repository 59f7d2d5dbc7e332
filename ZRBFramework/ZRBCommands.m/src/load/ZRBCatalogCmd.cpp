#include "ZRBCatalogCmd.h"

#include "CADClassDictionary.h"

ZRBCatalogCmd* fctCreateZRBCatalogCmd() { return new ZRBCatalogCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCatalogCmd", &fctCreateZRBCatalogCmd);
}  // namespace
