#include "ZRBReadApi.h"

#include "CADClassDictionary.h"

ZRBReadApi* fctCreateZRBReadApi() { return new ZRBReadApi(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBReadApi", &fctCreateZRBReadApi);
}  // namespace
