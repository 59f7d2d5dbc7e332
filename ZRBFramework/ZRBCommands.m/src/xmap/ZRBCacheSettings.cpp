#include "ZRBCacheSettings.h"

#include <climits>

#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {

int IsOn(const char* name) { return g_ZRBConfig.CompareEnvVar(name, "ON", 1) == 1 ? 1 : 0; }

void ReadLimit(const char* name, unsigned int& kilobytes, int& set) {
  const char* value = g_ZRBConfig.GetEnvVar(name, 1);
  set = 0;
  kilobytes = 0;
  if (!value) return;
  set = ZRBCacheSettings::ParseSizeLimit(value, kilobytes);
  // Taken as 0 it would delete every cached file at unload.
  if (!set) ZRB_DEBUG("ZRB: %s='%s' is not a number of megabytes, no limit applied", name, value);
}

}  // namespace

int ZRBCacheSettings::ParseSizeLimit(std::string_view megabytes, unsigned int& kilobytes) {
  kilobytes = 0;
  if (megabytes.empty()) return 0;
  unsigned long long value = 0;
  for (char c : megabytes) {
    if (c < '0' || c > '9') return 0;
    if (value <= UINT_MAX) value = value * 10 + static_cast<unsigned>(c - '0');
  }
  const unsigned long long limit = value * 1024ull;
  kilobytes = limit > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(limit);
  return 1;
}

ZRBCacheSettings ZRBCacheSettings::Read() {
  ZRBCacheSettings settings;
  settings.disabled = IsOn("ZRB_DISABLE_XMAPCACHE");
  settings.removeUnknownFiles = IsOn("ZRB_REMOVE_UNKNOWN_FILES_IN_XMAP");
  ReadLimit("ZRB_XMAP_CACHE_SIZE", settings.xmapCacheLimit, settings.xmapLimitSet);
  ReadLimit("ZRB_RELMAP_CACHE_SIZE", settings.relMapCacheLimit, settings.relMapLimitSet);
  settings.useReleasedCache = IsOn("ZRB_USERELEASEDCACHE");
  const char* releasedDir = g_ZRBConfig.GetEnvVar("ZRB_RELEASEDCACHEDIR", 1);
  settings.releasedCacheDirSet = releasedDir && *releasedDir ? 1 : 0;
  settings.cleanReleasedCache = IsOn("ZRB_CLEANRELEASEDCACHE");
  return settings;
}
