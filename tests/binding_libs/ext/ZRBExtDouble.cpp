// Test stand-in for the extension library: resolves an external link to its
// full path the way a C library would, with strncpy, so a path that fills
// the buffer arrives without a terminating zero.
#include <cstring>

#include "CADBaseTypes.h"
#include "CADIExternalLink.h"

extern "C" __attribute__((visibility("default"))) HRESULT ZRBGetFullPath(CADIExternalLink* link, char* buffer,
                                                                         int size) {
  if (!link || !buffer || size <= 0) return E_FAIL;
  CADUnicodeString path = link->GetResolvedPath();
  if (path.IsEmpty()) return E_FAIL;
  std::strncpy(buffer, path.c_str(), static_cast<size_t>(size));
  return S_OK;
}
