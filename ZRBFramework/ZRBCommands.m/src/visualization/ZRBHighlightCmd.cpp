#include "ZRBHighlightCmd.h"

#include "CADClassDictionary.h"

ZRBHighlightCmd* fctCreateZRBHighlightCmd(const CADString& parameter) { return new ZRBHighlightCmd(parameter); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBHighlightCmd", &fctCreateZRBHighlightCmd);
}  // namespace
