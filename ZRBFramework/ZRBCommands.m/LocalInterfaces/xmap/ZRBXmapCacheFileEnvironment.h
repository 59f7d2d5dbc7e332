// What the exchange-map cache tells the cache-file handling about the host's
// local cache: where it mirrors the exchange map and how to make the host
// read it afresh. Installed while GlobZRBCache is loaded.
#pragma once

#include "ZRBCacheFileEnvironment.h"

class ZRBXmapCacheFileEnvironment : public ZRBCacheFileEnvironment {
 public:
  HRESULT GetLocalCacheXmapDir(CADUnicodeString& directory) override;
  HRESULT GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names) override;
  HRESULT ResetLocalCacheDirectory() override;

  // --- the process-wide instance
  static void Install();
  // Puts the default back, unless something else was installed meanwhile.
  static void Uninstall();
};
