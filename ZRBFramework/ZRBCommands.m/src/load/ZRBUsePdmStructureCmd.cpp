#include "ZRBUsePdmStructureCmd.h"

#include "CADClassDictionary.h"

ZRBUsePdmStructureCmd* fctCreateZRBUsePdmStructureCmd() { return new ZRBUsePdmStructureCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBUsePdmStructureCmd", &fctCreateZRBUsePdmStructureCmd);
}  // namespace
