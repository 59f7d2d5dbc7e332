#include "ZRBSamAttachArchiveCmd.h"

#include "CADClassDictionary.h"
#include "ZRBPdmAction.h"
#include "ZRBSamUpdateCmd.h"

std::string_view ZRBSamAttachArchiveCmd::ActionWord() const { return ZRBPdmAction::CreateArchiveFrFile; }

ZRBUpdateCmd* ZRBSamAttachArchiveCmd::CreateUpdateCmd() { return new ZRBSamUpdateCmd(1); }

ZRBSamAttachArchiveCmd* fctCreateZRBSamAttachArchiveCmd() { return new ZRBSamAttachArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamAttachArchiveCmd", &fctCreateZRBSamAttachArchiveCmd);
}  // namespace
