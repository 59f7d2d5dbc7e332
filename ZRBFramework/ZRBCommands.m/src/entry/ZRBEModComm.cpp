#include "ZRBEModComm.h"

#include <new>

#include "CADComponentFactories.h"
#include "ZRBModComm.h"

namespace {
const CADComponentFactories::Registration g_registration(ZRBModComm::kClassName,
                                                         []() -> CADICreateInstance* { return new ZRBEModComm(); });
}  // namespace

HRESULT ZRBEModComm::CreateInstance(void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  auto* instance = new (std::nothrow) ZRBModComm();
  if (!instance) return E_OUTOFMEMORY;
  *out = static_cast<CADBaseUnknown*>(instance);
  return S_OK;
}
