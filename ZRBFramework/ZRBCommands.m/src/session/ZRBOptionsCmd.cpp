#include "ZRBOptionsCmd.h"

#include "CADClassDictionary.h"

ZRBOptionsCmd* fctCreateZRBOptionsCmd() { return new ZRBOptionsCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBOptionsCmd", &fctCreateZRBOptionsCmd);
}  // namespace
