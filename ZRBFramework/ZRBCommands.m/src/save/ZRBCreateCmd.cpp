#include "ZRBCreateCmd.h"

#include "CADClassDictionary.h"

ZRBCreateCmd* fctCreateZRBCreateCmd() { return new ZRBCreateCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCreateCmd", &fctCreateZRBCreateCmd);
}  // namespace
