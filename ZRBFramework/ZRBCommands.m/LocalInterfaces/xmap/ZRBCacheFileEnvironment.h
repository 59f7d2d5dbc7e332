// What the cache-file handling needs from the rest of the session: the local
// cache directory of the exchange map, the host's cache settings and the
// open documents. The exchange-map cache installs its own implementation;
// until then a default one serves what the host alone can tell.
#pragma once

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBCacheFileEnvironment {
 public:
  virtual ~ZRBCacheFileEnvironment() = default;

  // --- local cache of the exchange map
  // The directory where the host's local cache keeps the vis files of the
  // exchange map's documents; E_FAIL when it cannot be told.
  virtual HRESULT GetLocalCacheXmapDir(CADUnicodeString& directory);
  // Appends the names of the directory's entries with the extension "vis".
  virtual HRESULT GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names);
  // Makes the host re-read its local cache directory.
  virtual HRESULT ResetLocalCacheDirectory();

  // --- host settings
  // daylight: 1 while the local clock is in daylight-saving time; format:
  // the time mode of vis names ("TSFMT" of "CADCache", 0 when unreadable).
  virtual HRESULT GetTimeSettings(int& daylight, int& format);
  // "TimeStamp" of "CADCache" (0 when unreadable): non-zero when the local
  // cache names vis files with the model's modification time.
  virtual int GetCacheTimeStamp();

  // --- session
  // 1 when a document of the session is stored at the path.
  virtual int IsFileInSession(const CADUnicodeString& path);

  // --- the process-wide instance (the default one unless replaced)
  static ZRBCacheFileEnvironment& Get();
  // Replaces the instance (not owned); null restores the default.
  static void Install(ZRBCacheFileEnvironment* environment);
};
