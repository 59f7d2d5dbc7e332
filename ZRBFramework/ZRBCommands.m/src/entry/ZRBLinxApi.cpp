#include "ZRBLinxApi.h"

#include "CADClassDictionary.h"

ZRBLinxApi* fctCreateZRBLinxApi() { return new ZRBLinxApi(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBLinxApi", &fctCreateZRBLinxApi);
}  // namespace
