#include "ZRBRestoreLocalCmd.h"

#include "CADClassDictionary.h"

ZRBRestoreLocalCmd* fctCreateZRBRestoreLocalCmd() { return new ZRBRestoreLocalCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBRestoreLocalCmd", &fctCreateZRBRestoreLocalCmd);
}  // namespace
