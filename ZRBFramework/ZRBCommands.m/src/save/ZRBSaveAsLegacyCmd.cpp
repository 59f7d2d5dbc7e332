#include "ZRBSaveAsLegacyCmd.h"

#include "CADClassDictionary.h"

ZRBSaveAsLegacyCmd* fctCreateZRBSaveAsLegacyCmd() { return new ZRBSaveAsLegacyCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSaveAsLegacyCmd", &fctCreateZRBSaveAsLegacyCmd);
}  // namespace
