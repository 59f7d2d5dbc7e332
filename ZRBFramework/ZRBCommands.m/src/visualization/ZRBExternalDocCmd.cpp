#include "ZRBExternalDocCmd.h"

#include "CADClassDictionary.h"

ZRBExternalDocCmd* fctCreateZRBExternalDocCmd() { return new ZRBExternalDocCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBExternalDocCmd", &fctCreateZRBExternalDocCmd);
}  // namespace
