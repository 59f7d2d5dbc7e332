#include "ZRBSamAttachArchiveCmd.h"

#include "CADClassDictionary.h"

ZRBSamAttachArchiveCmd* fctCreateZRBSamAttachArchiveCmd() { return new ZRBSamAttachArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamAttachArchiveCmd", &fctCreateZRBSamAttachArchiveCmd);
}  // namespace
