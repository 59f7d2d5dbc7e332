#include "ZRBAddTempCmd.h"

#include "CADClassDictionary.h"

ZRBAddTempCmd* fctCreateZRBAddTempCmd() { return new ZRBAddTempCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBAddTempCmd", &fctCreateZRBAddTempCmd);
}  // namespace
