#include "ZRBHighlightInWBCmd.h"

#include "CADClassDictionary.h"

ZRBHighlightInWBCmd* fctCreateZRBHighlightInWBCmd() { return new ZRBHighlightInWBCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBHighlightInWBCmd", &fctCreateZRBHighlightInWBCmd);
}  // namespace
