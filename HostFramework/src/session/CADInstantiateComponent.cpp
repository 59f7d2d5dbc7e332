#include "CADInstantiateComponent.h"

#include "CADComponentFactories.h"
#include "CADICreateInstance.h"

HRESULT CADInstantiateComponent(std::string_view className, const CADIID& iid, void** out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  CADFactoryExtensionMaker maker = CADComponentFactories::Find(className);
  if (!maker) return E_FAIL;

  CADICreateInstance* factory = maker();
  if (!factory) return E_FAIL;
  void* created = nullptr;
  HRESULT hr = factory->CreateInstance(&created);
  factory->Release();
  if (FAILED(hr)) return hr;
  if (!created) return E_FAIL;

  auto* instance = static_cast<CADBaseUnknown*>(created);
  hr = instance->QueryInterface(iid, out);
  instance->Release();  // the interface handed out keeps it alive
  return hr;
}
