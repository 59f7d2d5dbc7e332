#include "ZRBSamAddTempCmd.h"

#include "CADClassDictionary.h"

ZRBSamAddTempCmd* fctCreateZRBSamAddTempCmd() { return new ZRBSamAddTempCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamAddTempCmd", &fctCreateZRBSamAddTempCmd);
}  // namespace
