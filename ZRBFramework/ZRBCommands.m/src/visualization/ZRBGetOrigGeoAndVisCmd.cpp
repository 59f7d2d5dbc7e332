#include "ZRBGetOrigGeoAndVisCmd.h"

#include "CADClassDictionary.h"

ZRBGetOrigGeoAndVisCmd* fctCreateZRBGetOrigGeoAndVisCmd() { return new ZRBGetOrigGeoAndVisCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetOrigGeoAndVisCmd", &fctCreateZRBGetOrigGeoAndVisCmd);
}  // namespace
