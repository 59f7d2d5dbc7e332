#include "ZRBCacheFileEnvironment.h"

#include <ctime>

#include "CADDocumentServices.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

namespace {

ZRBCacheFileEnvironment g_defaultEnvironment;
// Touched on the user-interface thread only.
ZRBCacheFileEnvironment* g_environment = &g_defaultEnvironment;

int ReadCacheSetting(const char* name) {
  int value = 0;
  return SUCCEEDED(CADSettingRepository::ReadSetting("CADCache", name, &value)) ? value : 0;
}

}  // namespace

// Where the cache mirrors the exchange map belongs to the exchange-map cache.
HRESULT ZRBCacheFileEnvironment::GetLocalCacheXmapDir(CADUnicodeString& directory) {
  directory = CADUnicodeString();
  return E_FAIL;
}

HRESULT ZRBCacheFileEnvironment::GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names) {
  CADListValCADUnicodeString entries;
  if (FAILED(CADListDirectory(directory, entries))) {
    ZRB_DEBUG("Could not access VIS Dir");
    return E_FAIL;
  }
  for (const auto& entry : entries)
    if (ZRBFileUtil::HasExtension(entry, "vis")) names.Append(entry.ConvertToString());
  return S_OK;
}

HRESULT ZRBCacheFileEnvironment::ResetLocalCacheDirectory() { return E_FAIL; }

HRESULT ZRBCacheFileEnvironment::GetTimeSettings(int& daylight, int& format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  daylight = ::localtime_r(&now, &local) && local.tm_isdst > 0 ? 1 : 0;
  format = ReadCacheSetting("TSFMT");
  return S_OK;
}

int ZRBCacheFileEnvironment::GetCacheTimeStamp() { return ReadCacheSetting("TimeStamp"); }

int ZRBCacheFileEnvironment::IsFileInSession(const CADUnicodeString& path) {
  return CADDocumentServices::GetDocumentInSession(path) ? 1 : 0;
}

ZRBCacheFileEnvironment& ZRBCacheFileEnvironment::Get() { return *g_environment; }

void ZRBCacheFileEnvironment::Install(ZRBCacheFileEnvironment* environment) {
  g_environment = environment ? environment : &g_defaultEnvironment;
}
