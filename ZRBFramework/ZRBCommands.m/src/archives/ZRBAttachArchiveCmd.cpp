#include "ZRBAttachArchiveCmd.h"

#include "CADClassDictionary.h"

ZRBAttachArchiveCmd* fctCreateZRBAttachArchiveCmd() { return new ZRBAttachArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBAttachArchiveCmd", &fctCreateZRBAttachArchiveCmd);
}  // namespace
