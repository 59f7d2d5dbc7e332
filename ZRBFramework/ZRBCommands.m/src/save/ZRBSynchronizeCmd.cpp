#include "ZRBSynchronizeCmd.h"

#include "CADClassDictionary.h"

ZRBSynchronizeCmd* fctCreateZRBSynchronizeCmd() { return new ZRBSynchronizeCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSynchronizeCmd", &fctCreateZRBSynchronizeCmd);
}  // namespace
