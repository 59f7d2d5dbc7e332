#include "ZRBMultiQuantityCmd.h"

#include "CADClassDictionary.h"

ZRBMultiQuantityCmd* fctCreateZRBMultiQuantityCmd() { return new ZRBMultiQuantityCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBMultiQuantityCmd", &fctCreateZRBMultiQuantityCmd);
}  // namespace
