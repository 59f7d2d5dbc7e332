#include "ZRBCreateDrawingEZRBCmd.h"

#include "CADClassDictionary.h"

ZRBCreateDrawingEZRBCmd* fctCreateZRBCreateDrawingEZRBCmd() { return new ZRBCreateDrawingEZRBCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBCreateDrawingEZRBCmd", &fctCreateZRBCreateDrawingEZRBCmd);
}  // namespace
