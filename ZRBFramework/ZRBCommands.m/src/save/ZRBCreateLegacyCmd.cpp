#include "ZRBCreateLegacyCmd.h"

#include "CADClassDictionary.h"

ZRBCreateLegacyCmd* fctCreateZRBCreateLegacyCmd() { return new ZRBCreateLegacyCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCreateLegacyCmd", &fctCreateZRBCreateLegacyCmd);
}  // namespace
