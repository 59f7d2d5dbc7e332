// The host's caches as the exchange map sees them: the local cache of vis
// files, which mirrors the exchange map below its "vis" directory, and the
// released cache, a shared directory listed in the host's cache settings.
#include <memory>

#include "CADApplicationFrame.h"
#include "CADAutoApplication.h"
#include "CADISysCacheSettingAtt.h"
#include "CADInstantiateComponent.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

namespace {

// Style of the released-cache message boxes.
constexpr unsigned long kReleasedCacheBoxStyle = 0x10000200;

CADSettingRepository* CacheSettings() { return CADSettingRepository::GetRepository("CADCache"); }

bool IsOn(const char* name) { return g_ZRBConfig.CompareEnvVar(name, "ON", 1) == 1; }

// "LocalCacheDir" of "CADCache" as written there (variables not resolved).
HRESULT ReadLocalCacheSetting(CADUnicodeString& directory) {
  CADSettingRepository* repository = CacheSettings();
  if (!repository || FAILED(repository->ReadSetting("LocalCacheDir", &directory))) {
    ZRB_DEBUG("ZRB Warning: Cannot get LocalCacheDir from CADCache settings");
    return E_FAIL;
  }
  return S_OK;
}

// The cache directory that mirrors a document directory: below "vis" of the
// cache, the document directory's absolute path.
CADUnicodeString MirrorOf(const CADUnicodeString& cache, const CADUnicodeString& documentDirectory) {
  CADUnicodeString mirror = ZRBAfxCache::MakePath(cache, "vis");
  if (!documentDirectory.StartsWith("/")) mirror += "/";
  return mirror + documentDirectory;
}

CADISysCacheSettingAtt_var CacheSettingController() {
  void* raw = nullptr;
  if (FAILED(CADInstantiateComponent("CADSysCacheSettingCtrl", CADISysCacheSettingAtt::ClassId(), &raw)) || !raw)
    return nullptr;
  return CADISysCacheSettingAtt_var::Adopt(static_cast<CADISysCacheSettingAtt*>(raw));
}

void ShowReleasedCacheMessage(const char* key, CADUnicodeString* parameter = nullptr) {
  ZRBAfxCache::MsgBox(ZRBAfxCache::BuildMessage("ZRBAfx", key, parameter, parameter ? 1 : 0), kReleasedCacheBoxStyle);
}

}  // namespace

// --- local cache

HRESULT ZRBAfxCache::GetLocalCacheXmapDir(CADUnicodeString& directory) {
  ZRB_TRACE("ZRBAfx::GetLocalCacheXmapDir");
  CADUnicodeString localCache;
  if (FAILED(ReadLocalCacheSetting(localCache))) return E_FAIL;
  if (FAILED(ZRBResolvePath(&localCache))) return E_FAIL;
  CADUnicodeString xmap;
  if (!GetXMapWithEndingSlash(xmap)) {
    ZRB_DEBUG("ZRB Warning: Cannot get ZRBXMAP");
    return E_FAIL;
  }
  // The host mirrors each document directory below "vis" of its local cache.
  directory = MirrorOf(localCache, xmap);
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBAfxCache::GetListOfVisInDir(const CADUnicodeString& directory, CADListValCADString& names) {
  CADListValCADUnicodeString entries;
  if (directory.IsEmpty() || FAILED(CADListDirectory(directory, entries))) {
    ZRB_DEBUG("Could not access VIS Dir");
    return E_FAIL;
  }
  for (const CADUnicodeString& entry : entries)
    if (ZRBFileUtil::HasExtension(entry, "vis")) names.Append(entry.ConvertToString());
  return S_OK;
}

HRESULT ZRBAfxCache::ResetLocalCacheDirectory() {
  ZRB_TRACE("ZRBAfx::ResetLocalCacheDirectory");
  CADUnicodeString xmapCache;
  if (FAILED(GetLocalCacheXmapDir(xmapCache))) {
    ZRB_DEBUG("ZRB Warning: Cannot get LocalXmapCacheDir");
    return E_FAIL;
  }
  if (!CADIsDirectory(xmapCache)) {
    ZRB_DEBUG("ZRB: ExmapCachedir : '%s does not exist", xmapCache.c_str());
    return E_FAIL;
  }
  CADUnicodeString localCache;
  if (FAILED(ReadLocalCacheSetting(localCache))) return E_FAIL;
  if (CacheSettings()->IsProtected()) ZRB_DEBUG("ZRB Warning: CADCache settings are protected!");
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  if (!frame) {
    ZRB_DEBUG("ZRB Error: CADApplicationFrame::GetApplicationFrame failed");
    return E_FAIL;
  }
  void* raw = nullptr;
  HRESULT hr = frame->QueryInterface(CADAutoApplication::ClassId(), &raw);
  if (FAILED(hr) || !raw) {
    ZRB_DEBUG("ZRB Error: QI for CADAutoApplication on CADApplicationFrame failed");
    return FAILED(hr) ? hr : E_FAIL;
  }
  CADAutoApplication_var application = CADAutoApplication_var::Adopt(static_cast<CADAutoApplication*>(raw));
  // Setting the same directory again is what makes the host reset the cache.
  hr = application->put_LocalCache(localCache);
  if (FAILED(hr)) {
    ZRB_DEBUG("ZRB Error: CADAutoApplication::put_LocalCache failed");
    return hr;
  }
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBAfxCache::GetCheckTimestamps(int& check) {
  check = 0;
  CADSettingRepository* repository = CacheSettings();
  if (!repository) return E_FAIL;
  int value = 0;
  if (SUCCEEDED(repository->ReadSetting("TimeStamp", &value)) && value == 1) check = 1;
  return S_OK;
}

// --- released cache

HRESULT ZRBAfxCache::GetReleasedCacheDirectories(CADListValCADString& directories) {
  CADISysCacheSettingAtt_var controller = CacheSettingController();
  if (!controller) return S_OK;
  std::unique_ptr<CADUnicodeString[]> paths;
  int count = 0;
  if (FAILED(controller->GetReleaseCachePath(paths, count)) || !paths) return S_OK;
  for (int i = 0; i < count; ++i) directories.Append(paths[static_cast<std::size_t>(i)].ConvertToString());
  return S_OK;
}

HRESULT ZRBAfxCache::AddReleasedCacheDirToSettings(CADString directory) {
  ZRB_TRACE("ZRBAfx::AddReleasedCacheDirToSettings");
  if (directory.IsEmpty()) return E_FAIL;
  CADUnicodeString resolved(directory);
  if (FAILED(ZRBResolvePath(&resolved)) || !CADIsDirectory(resolved)) {
    ShowReleasedCacheMessage("ReleasedCacheDirNotExists", &resolved);
    return E_FAIL;
  }
  CADListValCADString current;
  GetReleasedCacheDirectories(current);
  current.Append(directory);
  std::unique_ptr<CADUnicodeString[]> paths = std::make_unique<CADUnicodeString[]>(current.vector().size());
  for (int i = 1; i <= current.Size(); ++i) paths[static_cast<std::size_t>(i - 1)] = CADUnicodeString(current[i]);
  CADISysCacheSettingAtt_var controller = CacheSettingController();
  HRESULT hr = controller ? controller->SetReleaseCachePath(paths.get(), current.Size()) : E_FAIL;
  if (FAILED(hr)) {
    ShowReleasedCacheMessage("SetReleasedCacheDirFailed");
    return hr;
  }
  ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBAfxCache::GetReleasedCacheDir(CADString& directory) {
  ZRB_TRACE("ZRBAfx::GetReleasedCacheDir");
  const char* configured = g_ZRBConfig.GetEnvVar("ZRB_RELEASEDCACHEDIR", 1);
  directory = CADString(configured ? configured : "");
  CADListValCADString list;
  GetReleasedCacheDirectories(list);
  if (list.Size() == 0) {
    if (FAILED(AddReleasedCacheDirToSettings(directory))) {
      if (directory.IsEmpty()) ShowReleasedCacheMessage("NoReleasedCache");
      return E_FAIL;
    }
    ZRB_TRACE_OK();
    return S_OK;
  }
  if (directory.IsEmpty()) {
    directory = list[1];
    ZRB_TRACE_OK();
    return S_OK;
  }
  const CADString wanted = directory.ToUpper();
  for (const CADString& path : list) {
    if (path.ToUpper() == wanted) {
      directory = path;
      ZRB_TRACE_OK();
      return S_OK;
    }
  }
  if (FAILED(AddReleasedCacheDirToSettings(directory))) return E_FAIL;
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBAfxCache::GetReleasedCacheXmapDir(CADUnicodeString& directory, int& activated) {
  directory = CADUnicodeString();
  activated = 0;
  CADSettingRepository* repository = CacheSettings();
  if (!repository) return E_FAIL;
  int activation = 0;
  if (FAILED(repository->ReadSetting("CacheActivation", &activation)) || activation != 1) return S_OK;
  activated = 1;
  return GetReleasedCacheXmapDir(directory);
}

HRESULT ZRBAfxCache::GetReleasedCacheXmapDir(CADUnicodeString& directory) {
  ZRB_TRACE("ZRBAfx::GetReleasedCacheXmapDir");
  directory = CADUnicodeString();
  if (!IsOn("ZRB_USERELEASEDCACHE")) {
    ZRB_TRACE_OK();
    return S_OK;
  }
  CADString released;
  if (FAILED(GetReleasedCacheDir(released))) return E_FAIL;
  CADUnicodeString resolved(released);
  if (FAILED(ZRBResolvePath(&resolved))) return E_FAIL;
  CADUnicodeString xmap;
  if (!GetXMap(xmap)) {
    ZRB_DEBUG("ZRB Warning: Cannot get ZRBXMAP");
    return E_FAIL;
  }
  if (!CADIsDirectory(resolved)) {
    ZRB_DEBUG("Released Cahe dir does not exist");
    return E_FAIL;
  }
  const CADUnicodeString mirror = MirrorOf(resolved, xmap);
  // Directory creation accepts directories that exist and creates the
  // parents from the top down.
  if (!CADIsDirectory(mirror) && FAILED(CADCreateDirectory(mirror))) {
    ZRB_DEBUG("ZRB: could not create %s", mirror.c_str());
    return E_FAIL;
  }
  directory = mirror;
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBAfxCache::ResetReleasedCacheDirectory() {
  if (!IsOn("ZRB_USERELEASEDCACHE")) return S_OK;
  CADListValCADString paths;
  GetReleasedCacheDirectories(paths);
  if (paths.Size() == 0) return S_OK;
  CADSettingRepository* repository = CacheSettings();
  if (!repository) return E_FAIL;
  CADListValCADUnicodeString values;
  for (const CADString& path : paths) values.Append(CADUnicodeString(path));
  return repository->WriteSetting("ReleaseCachePath", values);
}
