#include "ZRBDummyCmd.h"

#include "CADClassDictionary.h"

ZRBDummyCmd* fctCreateZRBDummyCmd() { return new ZRBDummyCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBDummyCmd", &fctCreateZRBDummyCmd);
}
