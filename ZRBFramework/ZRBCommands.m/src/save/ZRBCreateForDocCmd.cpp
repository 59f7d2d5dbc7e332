#include "ZRBCreateForDocCmd.h"

#include "CADClassDictionary.h"

ZRBCreateForDocCmd* fctCreateZRBCreateForDocCmd() { return new ZRBCreateForDocCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCreateForDocCmd", &fctCreateZRBCreateForDocCmd);
}  // namespace
