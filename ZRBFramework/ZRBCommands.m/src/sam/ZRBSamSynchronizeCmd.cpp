#include "ZRBSamSynchronizeCmd.h"

#include "CADClassDictionary.h"

ZRBSamSynchronizeCmd* fctCreateZRBSamSynchronizeCmd() { return new ZRBSamSynchronizeCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamSynchronizeCmd", &fctCreateZRBSamSynchronizeCmd);
}  // namespace
