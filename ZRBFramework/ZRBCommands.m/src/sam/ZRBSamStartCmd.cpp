#include "ZRBSamStartCmd.h"

#include "CADClassDictionary.h"

ZRBSamStartCmd* fctCreateZRBSamStartCmd() { return new ZRBSamStartCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamStartCmd", &fctCreateZRBSamStartCmd);
}  // namespace
