#include "ZRBCatalogUpdCreCmd.h"

#include "CADClassDictionary.h"

ZRBCatalogUpdCreCmd* fctCreateZRBCatalogUpdCreCmd() { return new ZRBCatalogUpdCreCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCatalogUpdCreCmd", &fctCreateZRBCatalogUpdCreCmd);
}  // namespace
