#include "ZRBTrafoAccumulateCmd.h"

#include "CADClassDictionary.h"

ZRBTrafoAccumulateCmd* fctCreateZRBTrafoAccumulateCmd() { return new ZRBTrafoAccumulateCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBTrafoAccumulateCmd", &fctCreateZRBTrafoAccumulateCmd);
}  // namespace
