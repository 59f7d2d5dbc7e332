// ZRBXmapManager: the host's local cache names a model's vis after the model
// file and its time, so a new object's model of the same name and date would
// be shown with the old object's vis.
#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBCacheFileEnvironment.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"
#include "ZRBXmapManager.h"

int ZRBXmapManager::CheckFileVersionInLocalChache(const CADString& obid, const CADString& modificationDate,
                                                  const CADString& path, const CADString&, const CADString&) {
  const CADUnicodeString unicodePath(path);
  if (!ZRBFileUtil::HasExtension(unicodePath, "CADPart") && !ZRBFileUtil::HasExtension(unicodePath, "model")) return 1;
  ZRB_TRACE("ZRBXmapManager::CheckFileVersionInLocalChache");
  const CADString name = NameOf(path);
  const ZRBXmapFile* entry = list_.FindBySortKey(name.view());
  if (!entry || entry->GetObid() == obid.view() || directory_.IsEmpty() ||
      !ZRBXmapFile::SameDateToTheSecond(entry->GetModificationDate(), modificationDate.view())) {
    ZRB_TRACE_OK();
    return 1;
  }
  CADUnicodeString cacheDirectory;
  if (FAILED(ZRBAfxCache::GetLocalCacheXmapDir(cacheDirectory))) return 1;
  int daylight = 0;
  int timeMode = 0;
  ZRBCacheFileEnvironment::Get().GetTimeSettings(daylight, timeMode);
  const CADString visPath = (cacheDirectory + CADUnicodeString(name) + ".vis").ConvertToString();
  const CADUnicodeString modelPath = CADMakePath(directory_, CADUnicodeString(name));
  CADUnicodeString cachedVis;
  if (SUCCEEDED(ZRBFileUtil::GetVisFileNameInCacheDir(visPath, modelPath, daylight, timeMode, cachedVis))) {
    ZRB_DEBUG("ZRB: local cache vis %s belongs to another object, deleted", cachedVis.c_str());
    CADDeleteFile(cachedVis);
  }
  ZRB_TRACE_OK();
  return 1;
}
