#include "ZRBSamCreateCmd.h"

#include "CADClassDictionary.h"
#include "ZRBSamUpdateCmd.h"

ZRBSamCreateCmd* fctCreateZRBSamCreateCmd() { return new ZRBSamCreateCmd(); }

ZRBUpdateCmd* ZRBSamCreateCmd::CreateUpdateCmd() { return new ZRBSamUpdateCmd(1, 0, 100); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamCreateCmd", &fctCreateZRBSamCreateCmd);
}  // namespace
