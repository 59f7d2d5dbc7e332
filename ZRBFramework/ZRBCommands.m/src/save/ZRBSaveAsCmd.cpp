#include "ZRBSaveAsCmd.h"

#include "CADClassDictionary.h"

ZRBSaveAsCmd* fctCreateZRBSaveAsCmd() { return new ZRBSaveAsCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSaveAsCmd", &fctCreateZRBSaveAsCmd);
}  // namespace
