#include "ZRBXmapCacheFileEnvironment.h"

#include "ZRBAfxCache.h"

namespace {
// Touched on the user-interface thread only (module load and unload, tests).
ZRBXmapCacheFileEnvironment g_xmapEnvironment;
}  // namespace

HRESULT ZRBXmapCacheFileEnvironment::GetLocalCacheXmapDir(CADUnicodeString& directory) {
  return ZRBAfxCache::GetLocalCacheXmapDir(directory);
}

HRESULT ZRBXmapCacheFileEnvironment::GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names) {
  return ZRBAfxCache::GetListOfVisInDir(directory, names);
}

HRESULT ZRBXmapCacheFileEnvironment::ResetLocalCacheDirectory() { return ZRBAfxCache::ResetLocalCacheDirectory(); }

void ZRBXmapCacheFileEnvironment::Install() { ZRBCacheFileEnvironment::Install(&g_xmapEnvironment); }

void ZRBXmapCacheFileEnvironment::Uninstall() {
  if (&ZRBCacheFileEnvironment::Get() == &g_xmapEnvironment) ZRBCacheFileEnvironment::Install(nullptr);
}
