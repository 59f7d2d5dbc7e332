#include "ZRBModifyNonCadArchiveCmd.h"

#include "CADClassDictionary.h"

ZRBModifyNonCadArchiveCmd* fctCreateZRBModifyNonCadArchiveCmd() { return new ZRBModifyNonCadArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBModifyNonCadArchiveCmd", &fctCreateZRBModifyNonCadArchiveCmd);
}  // namespace
