#include "ZRBGetDepByCmd.h"

#include "CADClassDictionary.h"

ZRBGetDepByCmd* fctCreateZRBGetDepByCmd() { return new ZRBGetDepByCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBGetDepByCmd", &fctCreateZRBGetDepByCmd);
}  // namespace
