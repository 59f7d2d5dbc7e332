// Creates a component by class name through its registered factory extension
// and hands out the requested interface.
#pragma once

#include <string_view>

#include "CADBaseUnknown.h"

// On S_OK, *out holds the interface `iid` of a new instance of `className`
// with one reference for the caller. E_FAIL when no factory is registered for
// the class or it made nothing, E_NOINTERFACE when the instance lacks `iid`,
// E_INVALIDARG when out is null; the factory's own failure code otherwise.
HRESULT CADInstantiateComponent(std::string_view className, const CADIID& iid, void** out);

#include "CADString.h"

inline HRESULT CADInstantiateComponent(const CADString& className, const CADIID& iid, void** out) {
  return CADInstantiateComponent(className.view(), iid, out);
}
inline HRESULT CADInstantiateComponent(const char* className, const CADIID& iid, void** out) {
  return CADInstantiateComponent(std::string_view(className ? className : ""), iid, out);
}
