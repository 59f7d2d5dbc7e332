#include "ZRBCache.h"

#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmContentList.h"
#include "ZRBTrace.h"
#include "ZRBXmapCacheFileEnvironment.h"

ZRBCache GlobZRBCache;

namespace {
constexpr const char* kContentFileName = "content.zrb";
}  // namespace

ZRBCache::ZRBCache() { Load(); }

ZRBCache::~ZRBCache() { Unload(); }

// --- lifecycle

void ZRBCache::Load() {
  ZRB_TRACE("ZRBCache::Load");
  if (xmapManager_ || relMapManager_) Unload();
  ResetForTests();
  settings_ = ZRBCacheSettings::Read();
  // The cache-file handling asks the cache where the local cache mirrors the exchange map.
  ZRBXmapCacheFileEnvironment::Install();
  if (settings_.disabled) {
    ZRB_DEBUG("ZRBCache disabled");
    return;
  }
  xmapManager_ = std::make_unique<ZRBXmapManager>();
  relMapManager_ = std::make_unique<ZRBXmapManager>();
  CADUnicodeString xmap;
  // Without "ZRBXMAP" the cache has no directory: it never works on the
  // temporary directory that GetXMap falls back to.
  if (ZRBAfxCache::GetXMap(xmap)) {
    xmapInUse_ = xmap;
    Repoint(*xmapManager_, xmap);
  }
  LoadReleasedCache();
  ZRB_TRACE_OK();
}

void ZRBCache::LoadReleasedCache() {
  if (!settings_.useReleasedCache || !settings_.releasedCacheDirSet || settings_.cleanReleasedCache) return;
  if (xmapInUse_.IsEmpty()) return;
  CADUnicodeString directory;
  int activated = 0;
  ZRBAfxCache::GetReleasedCacheXmapDir(directory, activated);
  if (!activated || directory.IsEmpty()) return;
  useReleasedCache_ = 1;
  Repoint(*relMapManager_, directory);
  // Vis files the released list does not know are taken for stale ones at once.
  CADListValCADUnicodeString visOnly;
  visOnly.Append("vis");
  relMapManager_->Check(&visOnly, 0);
}

void ZRBCache::Unload() {
  ZRB_TRACE("ZRBCache::Unload");
  if (!settings_.disabled && used_) {
    // Trimming writes the content file: only into the map "ZRBXMAP" names now.
    FollowXmap();
    struct Trim {
      ZRBXmapManager* manager;
      int limitSet;
      unsigned int limit;
    };
    for (const Trim& trim : {Trim{xmapManager_.get(), settings_.xmapLimitSet, settings_.xmapCacheLimit},
                             Trim{relMapManager_.get(), settings_.relMapLimitSet, settings_.relMapCacheLimit}}) {
      if (!trim.manager || trim.manager->GetDirectory().IsEmpty()) continue;
      const int removeUnknown = settings_.removeUnknownFiles;
      trim.manager->Check(nullptr, removeUnknown);
      if (trim.limitSet) trim.manager->RemoveCacheFilesToLimit(trim.limit);
    }
  }
  ResetForTests();
  ZRBXmapCacheFileEnvironment::Uninstall();
  ZRB_TRACE_OK();
}

void ZRBCache::ResetForTests() {
  xmapManager_.reset();
  relMapManager_.reset();
  settings_ = ZRBCacheSettings();
  xmapInUse_ = CADUnicodeString();
  useReleasedCache_ = 0;
  tempMode_ = 0;
  used_ = 0;
}

// --- following the exchange map

void ZRBCache::Repoint(ZRBXmapManager& manager, const CADUnicodeString& directory) {
  if (directory.IsEmpty()) {
    manager.SetContentFileFullPath(CADUnicodeString());
    manager.ClearList();
    return;
  }
  manager.SetContentFileFullPath(ZRBAfxCache::MakePath(directory, kContentFileName));
  manager.ReadContentFile();
}

int ZRBCache::FollowXmap() {
  if (!xmapManager_) return 0;
  CADUnicodeString current;
  if (!ZRBAfxCache::GetXMap(current)) current = CADUnicodeString();
  if (current == xmapInUse_) return current.IsEmpty() ? 0 : 1;
  ZRB_DEBUG("ZRB: exchange map changed from '%s' to '%s'", xmapInUse_.c_str(), current.c_str());
  // The list of the map left behind is saved there only when another map takes its place: with "ZRBXMAP"
  // unset the module has no business writing into any directory, the one it followed last included.
  const bool saveOld = !current.IsEmpty();
  if (saveOld) xmapManager_->Write();
  Repoint(*xmapManager_, current);
  if (useReleasedCache_ && relMapManager_) {
    if (saveOld) relMapManager_->Write();
    CADUnicodeString released;
    if (current.IsEmpty() || FAILED(ZRBAfxCache::GetReleasedCacheXmapDir(released))) released = CADUnicodeString();
    Repoint(*relMapManager_, released);
  }
  xmapInUse_ = current;
  return current.IsEmpty() ? 0 : 1;
}

int ZRBCache::LiesIn(const ZRBXmapManager& manager, const CADString& path) {
  const CADUnicodeString directory = ZRBFileUtil::GetDirPathFromFilePath(CADUnicodeString(path), 0);
  if (directory.IsEmpty() || directory == manager.GetDirectory()) return 1;
  CADUnicodeString realDirectory, realManagerDirectory;
  return SUCCEEDED(CADGetRealPath(directory, realDirectory)) &&
                 SUCCEEDED(CADGetRealPath(manager.GetDirectory(), realManagerDirectory)) &&
                 realDirectory == realManagerDirectory
             ? 1
             : 0;
}

// --- registration and lookup

void ZRBCache::UpdateXMapFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                              const CADString& dbName, const CADString& className) {
  ZRB_TRACE("ZRBCache::UpdateXMapFile");
  if (settings_.disabled || tempMode_ || !xmapManager_) return;
  used_ = 1;
  if (!FollowXmap()) return;
  if (!LiesIn(*xmapManager_, path)) {
    ZRB_DEBUG("ZRB: %s is not in the exchange map, not registered", path.c_str());
    return;
  }
  xmapManager_->CheckFileVersionInLocalChache(obid, modificationDate, path, dbName, className);
  if (relMapManager_) relMapManager_->CheckFileVersionInReleasedChache(obid, modificationDate, path, dbName, className);
  xmapManager_->UpdateFile(obid, modificationDate, path, dbName, className);
  ZRB_TRACE_OK();
}

void ZRBCache::UpdateRelMapFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                                const CADString& dbName, const CADString& className) {
  ZRB_TRACE("ZRBCache::UpdateRelMapFile");
  if (settings_.disabled || tempMode_ || !useReleasedCache_ || !relMapManager_) return;
  used_ = 1;
  if (!FollowXmap()) return;
  relMapManager_->UpdateFile(obid, modificationDate, path, dbName, className);
  ZRB_TRACE_OK();
}

int ZRBCache::XMapFileExist(const CADString& obid, const CADString& modificationDate, const CADString& path,
                            const CADString& dbName, const CADString& className) {
  if (settings_.disabled || tempMode_ || !xmapManager_) return 0;
  used_ = 1;
  if (!FollowXmap() || !LiesIn(*xmapManager_, path)) return 0;
  return xmapManager_->FileExist(obid, modificationDate, path, dbName, className);
}

void ZRBCache::RegisterObjectFile(const ZRBObject& object, const CADUnicodeString& path) {
  UpdateXMapFile(object.GetSlotValue("OBID"), object.GetSlotValue("MODIFICATION_DATE_GMT"), path.ConvertToString(),
                 object.GetSlotValue("DB_NAME"), object.GetSlotValue("CLASSNAME"));
}

void ZRBCache::RegisterFileWithoutIdentity(const CADUnicodeString& path) {
  if (settings_.disabled || tempMode_ || !xmapManager_ || !FollowXmap()) return;
  const CADString text = path.ConvertToString();
  if (!LiesIn(*xmapManager_, text) ||
      xmapManager_->FindByFileName(ZRBFileUtil::GetFileNameFromPath(path).ConvertToString()))
    return;
  UpdateXMapFile("NO_OBID", "NO_TIMESTAMP", text, "NO_DB", "NO_CLASS");
}

// --- content files and the PDM's list

void ZRBCache::Write() {
  ZRB_TRACE("ZRBCache::Write");
  if (settings_.disabled || !xmapManager_) return;
  used_ = 1;
  if (!FollowXmap()) return;
  xmapManager_->Write();
  if (useReleasedCache_ && relMapManager_) relMapManager_->Write();
  ZRB_TRACE_OK();
}

int ZRBCache::WriteContentForPdm(const CADUnicodeString& path) {
  ZRB_TRACE("ZRBCache::WriteContentForPdm");
  if (settings_.disabled || !xmapManager_ || !relMapManager_) return 0;
  used_ = 1;
  // An old list must never be taken for the current one.
  if (!path.IsEmpty()) CADDeleteFile(path);
  if (!FollowXmap()) return 0;
  xmapManager_->Check(nullptr, 0);
  ZRBObjectManager list;
  if (ZRBPdmContentList::Build(*xmapManager_, *relMapManager_, list) == 0) {
    ZRB_DEBUG("ZRB: no cached files, %s not written", path.c_str());
    return 0;
  }
  if (!list.Write(path)) {
    ZRB_DEBUG("ZRB: could not write %s", path.c_str());
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}
