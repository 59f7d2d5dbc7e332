#include "ZRBSamCreateCmd.h"

#include "CADClassDictionary.h"

ZRBSamCreateCmd* fctCreateZRBSamCreateCmd() { return new ZRBSamCreateCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamCreateCmd", &fctCreateZRBSamCreateCmd);
}  // namespace
