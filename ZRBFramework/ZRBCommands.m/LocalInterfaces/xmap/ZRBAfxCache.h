// The exchange-map layer's part of the module's application helper: the host's local and released caches that
// mirror the exchange map. Bodies in ZRBAfxCache.cpp.
#pragma once

#include "ZRBAfxBase.h"

class ZRBAfxCache : public ZRBAfxBase {
 public:
  // The directory where the host's local cache mirrors the exchange map (ends with "/").
  static HRESULT GetLocalCacheXmapDir(CADUnicodeString& directory);
  // Appends the names of the directory's "vis" files.
  static HRESULT GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names);
  // Makes the host re-read its local cache directory.
  static HRESULT ResetLocalCacheDirectory();
  // Appends the host's released cache paths in its order (none when the controller is missing).
  static HRESULT GetReleasedCacheDirectories(CADListValCADString& directories);
  // The released cache directory to use ("ZRB_RELEASEDCACHEDIR", else the host's first).
  static HRESULT GetReleasedCacheDir(CADString& directory);
  static HRESULT AddReleasedCacheDirToSettings(CADString directory);
  // The released-cache directory that mirrors the exchange map, when the host's cache is activated.
  static HRESULT GetReleasedCacheXmapDir(CADUnicodeString& directory, int& activated);
  // The same without the activation test; creates the directory when missing.
  static HRESULT GetReleasedCacheXmapDir(CADUnicodeString& directory);
  // Writes the host's released cache paths to its "ReleaseCachePath" setting.
  static HRESULT ResetReleasedCacheDirectory();
  // 1 when the host checks time stamps of cached files ("TimeStamp" of "CADCache").
  static HRESULT GetCheckTimestamps(int& check);
};
