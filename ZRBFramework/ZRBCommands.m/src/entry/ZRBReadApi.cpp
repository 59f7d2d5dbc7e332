#include "ZRBReadApi.h"

#include "CADClassDictionary.h"
#include "ZRBDummyCmd.h"
#include "ZRBReadCmd.h"
#include "ZRBTrace.h"

ZRBReadApi* fctCreateZRBReadApi() { return new ZRBReadApi(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBReadApi", &fctCreateZRBReadApi);
}  // namespace

HRESULT ZRBReadApi::ZRBRead() {
  ZRB_TRACE("ZRBReadApi::ZRBRead");
  auto* read = new ZRBReadCmd(1, "ZRBReadCmd");
  ZRB_DEBUG("ZRB: Activate Read Command");
  // The read runs to its end inside Activate and requests its own destruction.
  read->Activate(nullptr, nullptr);
  // Puts the process back into the standard client's mode, as after every command started from outside.
  (new ZRBDummyCmd())->RequestDelayedDestruction();
  ZRB_TRACE_OK();
  return S_OK;
}
