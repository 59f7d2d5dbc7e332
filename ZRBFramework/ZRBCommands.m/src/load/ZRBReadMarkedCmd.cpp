#include "ZRBReadMarkedCmd.h"

#include "CADClassDictionary.h"

ZRBReadMarkedCmd* fctCreateZRBReadMarkedCmd() { return new ZRBReadMarkedCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBReadMarkedCmd", &fctCreateZRBReadMarkedCmd);
}  // namespace
