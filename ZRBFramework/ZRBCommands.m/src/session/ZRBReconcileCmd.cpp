#include "ZRBReconcileCmd.h"

#include "CADClassDictionary.h"

ZRBReconcileCmd* fctCreateZRBReconcileCmd() { return new ZRBReconcileCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBReconcileCmd", &fctCreateZRBReconcileCmd);
}  // namespace
