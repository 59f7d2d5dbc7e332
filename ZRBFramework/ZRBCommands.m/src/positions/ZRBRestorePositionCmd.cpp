#include "ZRBRestorePositionCmd.h"

#include "CADClassDictionary.h"

ZRBRestorePositionCmd* fctCreateZRBRestorePositionCmd() { return new ZRBRestorePositionCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBRestorePositionCmd", &fctCreateZRBRestorePositionCmd);
}  // namespace
