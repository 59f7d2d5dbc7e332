#include "ZRBSamAddTempCmd.h"

#include "CADClassDictionary.h"
#include "ZRBSamReadCmd.h"

ZRBSamAddTempCmd* fctCreateZRBSamAddTempCmd() { return new ZRBSamAddTempCmd(); }

ZRBReadCmd* ZRBSamAddTempCmd::CreateReadCmd() { return new ZRBSamReadCmd(1, 0, 100); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamAddTempCmd", &fctCreateZRBSamAddTempCmd);
}  // namespace
