#include "ZRBAttachBlackBoxCmd.h"

#include "CADClassDictionary.h"

ZRBAttachBlackBoxCmd* fctCreateZRBAttachBlackBoxCmd() { return new ZRBAttachBlackBoxCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBAttachBlackBoxCmd", &fctCreateZRBAttachBlackBoxCmd);
}  // namespace
