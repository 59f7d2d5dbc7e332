#include "ZRBReconnectCmd.h"

#include "CADClassDictionary.h"

ZRBReconnectCmd* fctCreateZRBReconnectCmd() { return new ZRBReconnectCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBReconnectCmd", &fctCreateZRBReconnectCmd);
}  // namespace
