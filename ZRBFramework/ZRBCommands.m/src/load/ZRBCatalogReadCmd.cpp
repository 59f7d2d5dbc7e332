#include "ZRBCatalogReadCmd.h"

#include "CADClassDictionary.h"

ZRBCatalogReadCmd* fctCreateZRBCatalogReadCmd() { return new ZRBCatalogReadCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCatalogReadCmd", &fctCreateZRBCatalogReadCmd);
}  // namespace
