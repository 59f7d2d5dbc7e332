// The switches and size limits of the exchange-map cache, as the environment
// sets them when the cache is loaded.
#pragma once

#include <string_view>

struct ZRBCacheSettings {
  int disabled = 0;                 // "ZRB_DISABLE_XMAPCACHE" "ON": the cache does nothing
  int removeUnknownFiles = 0;       // "ZRB_REMOVE_UNKNOWN_FILES_IN_XMAP" "ON"
  unsigned int xmapCacheLimit = 0;  // kilobytes
  int xmapLimitSet = 0;
  unsigned int relMapCacheLimit = 0;  // kilobytes
  int relMapLimitSet = 0;
  int useReleasedCache = 0;     // "ZRB_USERELEASEDCACHE" "ON"
  int releasedCacheDirSet = 0;  // "ZRB_RELEASEDCACHEDIR" not empty
  int cleanReleasedCache = 0;   // "ZRB_CLEANRELEASEDCACHE" "ON"

  // Reads every value through the configuration service (module prefix applied).
  static ZRBCacheSettings Read();
  // A size limit counts only when the whole text is an unsigned decimal
  // number of megabytes: 1 and the limit in kilobytes (saturated at the
  // largest unsigned value), else 0. "ON", "10MB", " 5" or "-1" set no limit.
  static int ParseSizeLimit(std::string_view megabytes, unsigned int& kilobytes);
};
