#include "ZRBInfoCmd.h"

#include "CADClassDictionary.h"

ZRBInfoCmd* fctCreateZRBInfoCmd() { return new ZRBInfoCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBInfoCmd", &fctCreateZRBInfoCmd);
}  // namespace
