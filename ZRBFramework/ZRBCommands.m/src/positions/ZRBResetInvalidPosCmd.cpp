#include "ZRBResetInvalidPosCmd.h"

#include "CADClassDictionary.h"

ZRBResetInvalidPosCmd* fctCreateZRBResetInvalidPosCmd() { return new ZRBResetInvalidPosCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBResetInvalidPosCmd", &fctCreateZRBResetInvalidPosCmd);
}  // namespace
