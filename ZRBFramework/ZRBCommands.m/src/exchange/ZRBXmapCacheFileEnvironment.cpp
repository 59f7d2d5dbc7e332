#include "ZRBXmapCacheFileEnvironment.h"

#include "ZRBAfx.h"

namespace {
// Touched on the user-interface thread only (module load and unload, tests).
ZRBXmapCacheFileEnvironment g_xmapEnvironment;
}  // namespace

HRESULT ZRBXmapCacheFileEnvironment::GetLocalCacheXmapDir(CADUnicodeString& directory) {
  return ZRBAfx::GetLocalCacheXmapDir(directory);
}

HRESULT ZRBXmapCacheFileEnvironment::GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names) {
  return ZRBAfx::GetListOfVisInDir(directory, names);
}

HRESULT ZRBXmapCacheFileEnvironment::ResetLocalCacheDirectory() { return ZRBAfx::ResetLocalCacheDirectory(); }

void ZRBXmapCacheFileEnvironment::Install() { ZRBCacheFileEnvironment::Install(&g_xmapEnvironment); }

void ZRBXmapCacheFileEnvironment::Uninstall() {
  if (&ZRBCacheFileEnvironment::Get() == &g_xmapEnvironment) ZRBCacheFileEnvironment::Install(nullptr);
}
