#include "ZRBWriteArcXMLCmd.h"

#include "CADClassDictionary.h"

ZRBWriteArcXMLCmd* fctCreateZRBWriteArcXMLCmd() { return new ZRBWriteArcXMLCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBWriteArcXMLCmd", &fctCreateZRBWriteArcXMLCmd);
}  // namespace
