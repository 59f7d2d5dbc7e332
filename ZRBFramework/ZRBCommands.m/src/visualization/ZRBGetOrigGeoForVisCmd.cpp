#include "ZRBGetOrigGeoForVisCmd.h"

#include "CADClassDictionary.h"

ZRBGetOrigGeoForVisCmd* fctCreateZRBGetOrigGeoForVisCmd() { return new ZRBGetOrigGeoForVisCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetOrigGeoForVisCmd", &fctCreateZRBGetOrigGeoForVisCmd);
}  // namespace
