#include "ZRBSaveLocalCmd.h"

#include "CADClassDictionary.h"

ZRBSaveLocalCmd* fctCreateZRBSaveLocalCmd() { return new ZRBSaveLocalCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSaveLocalCmd", &fctCreateZRBSaveLocalCmd);
}  // namespace
