#include "ZRBBuildVisuCmd.h"

#include "CADClassDictionary.h"

ZRBBuildVisuCmd* fctCreateZRBBuildVisuCmd() { return new ZRBBuildVisuCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBBuildVisuCmd", &fctCreateZRBBuildVisuCmd);
}  // namespace
