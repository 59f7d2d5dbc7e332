#include "ZRBCheckReplaceCmd.h"

#include "CADClassDictionary.h"

ZRBCheckReplaceCmd* fctCreateZRBCheckReplaceCmd() { return new ZRBCheckReplaceCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCheckReplaceCmd", &fctCreateZRBCheckReplaceCmd);
}  // namespace
