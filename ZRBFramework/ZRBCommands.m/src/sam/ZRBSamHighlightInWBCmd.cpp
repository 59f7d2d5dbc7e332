#include "ZRBSamHighlightInWBCmd.h"

#include "CADClassDictionary.h"

ZRBSamHighlightInWBCmd* fctCreateZRBSamHighlightInWBCmd() { return new ZRBSamHighlightInWBCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSamHighlightInWBCmd", &fctCreateZRBSamHighlightInWBCmd);
}  // namespace
