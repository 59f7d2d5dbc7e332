#include "ZRBUpdateAllPartsCmd.h"

#include "CADClassDictionary.h"

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd() { return new ZRBUpdateAllPartsCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBUpdateAllPartsCmd", &fctCreateZRBUpdateAllPartsCmd);
}  // namespace
