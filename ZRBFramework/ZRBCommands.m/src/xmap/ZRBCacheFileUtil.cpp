#include <sys/stat.h>
#include <utime.h>

#include <cctype>
#include <cstdlib>

#include "CADSystemServices.h"
#include "CADTime.h"
#include "ZRBAfxCache.h"
#include "ZRBCacheFileContext.h"
#include "ZRBCacheFileEnvironment.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBStaleFiles.h"
#include "ZRBTimeUtil.h"
#include "ZRBTrace.h"

namespace {

// List slots naming further objects of the answer; the objects of the last
// one are relations, walked like the object itself.
constexpr const char* kFileSlots[] = {
    "DOCCOMS", "TABLES", "SENDING_LIST", "PRODUCT", "CADPROCESS", "ATTACHED_BLACKBOX", "ATTACHED_FILEOBJECTS",
    "ITEMLIST"};
constexpr const char* kRelationSlot = "SUBASSRELATIONS";
constexpr const char* kBackupPrefix = "ZRBBACKUP_";
constexpr const char* kUseReleasedCache = "ZRB_USERELEASEDCACHE";
constexpr const char* kDisableSetTimestamp = "ZRB_DISABLE_SET_TIMESTAMP";

bool IsOn(const char* name) { return g_ZRBConfig.CompareEnvVar(name, "ON", 1) == 1; }

// The keys a slot names: its list, or its single value.
CADListValCADString KeysOf(const ZRBObject& object, const char* slot) {
  CADListValCADString keys = object.GetSlotValueList(slot);
  if (keys.IsEmpty()) {
    CADString single = object.GetSlotValue(slot);
    if (!single.IsEmpty()) keys.Append(single);
  }
  return keys;
}

// "YYYY-MM-DD HH:MM:SS.mmm": 23 characters with digits at the six fields.
bool ParsePdmDate(const CADString& text, struct tm& broken) {
  if (text.GetLength() != 23) return false;
  const std::string& s = text.str();
  auto field = [&](size_t at, size_t length, int& out) {
    int value = 0;
    for (size_t i = at; i < at + length; ++i) {
      if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
      value = value * 10 + (s[i] - '0');
    }
    out = value;
    return true;
  };
  int year = 0, month = 0;
  broken = {};
  if (!field(0, 4, year) || !field(5, 2, month) || !field(8, 2, broken.tm_mday) || !field(11, 2, broken.tm_hour) ||
      !field(14, 2, broken.tm_min) || !field(17, 2, broken.tm_sec))
    return false;
  broken.tm_year = year - 1900;
  broken.tm_mon = month - 1;
  return true;
}

// The file an answer names by "EXTERNAL_LOCATION", taken from the exchange
// map by its name alone: an answer never makes the module stamp or rename a
// file elsewhere. "" without an exchange map or without a file name.
CADUnicodeString FileInExchangeMap(const CADString& location) {
  const CADUnicodeString name = ZRBStaleFiles::FileNameOfLocation(location);
  CADUnicodeString xmap;
  if (name.IsEmpty() || !ZRBAfxCache::GetXMap(xmap)) return CADUnicodeString();
  return ZRBAfxCache::MakePath(xmap, name);
}

}  // namespace

int ZRBCacheFileUtil::ParseModificationDate(const CADString& text, std::time_t& seconds) {
  struct tm broken {};
  if (!ParsePdmDate(text, broken)) return 0;
  seconds = ZRBTimeUtil::mkgmtime(&broken);
  return 1;
}

HRESULT ZRBCacheFileUtil::ManageFilesForCache(ZRBObjectManager& answer, CADListValCADUnicodeString& filesToRefresh) {
  ZRB_TRACE("ZRBFileUtil::ManageFilesForCache");
  // Kept exactly as sites know it, although it reads inverted: with the
  // released cache in use nothing is done here unless setting time stamps
  // is switched off.
  const bool releasedCacheSkipsHandling = IsOn(kUseReleasedCache) && !IsOn(kDisableSetTimestamp);
  if (releasedCacheSkipsHandling) {
    ZRB_DEBUG("MangeFilesForCache not used");
    ZRB_TRACE_OK();
    return S_OK;
  }
  ZRBCacheFileEnvironment& environment = ZRBCacheFileEnvironment::Get();
  ZRBCacheFileContext context;
  context.cacheTimeStamp = environment.GetCacheTimeStamp();
  if (FAILED(environment.GetTimeSettings(context.daylight, context.timeMode))) {
    context.daylight = 0;
    context.timeMode = 0;
  }
  context.filesToRefresh = &filesToRefresh;
  ZRBObject* root = answer.GetObject("ROOT");
  if (!root) {
    ZRB_DEBUG("ZRBFileUtil::SetTimestampOnAllFiles ****Failed****");
    return E_FAIL;
  }
  if (SUCCEEDED(environment.GetLocalCacheXmapDir(context.cacheDirectory)) &&
      FAILED(environment.GetListOfVisInDir(context.cacheDirectory, context.cachedVisNames)))
    context.cacheDirectory = CADUnicodeString();
  HRESULT hr = ManageFilesForCacheAllSubass(answer, *root, context);
  if (!context.cacheDirectory.IsEmpty()) environment.ResetLocalCacheDirectory();
  if (SUCCEEDED(hr)) ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBCacheFileUtil::ManageFilesForCacheAllSubass(ZRBObjectManager& answer, const ZRBObject& object,
                                                       ZRBCacheFileContext& context) {
  // A relation that leads back to an object already walked (a cyclic or
  // repeated answer) is not walked again, and nesting is capped.
  if (!context.visitedKeys.insert(object.GetKey().str()).second) return S_OK;
  if (context.depth >= ZRBCacheFileContext::MaxDepth) {
    ZRB_DEBUG("ZRB: sub-assembly relations nested deeper than %d, rest ignored", ZRBCacheFileContext::MaxDepth);
    return E_FAIL;
  }
  HRESULT hr = S_OK;
  for (const char* slot : kFileSlots) {
    for (const auto& key : KeysOf(object, slot)) {
      ZRBObject* named = answer.GetObject(key);
      if (!named || !context.visitedKeys.insert(key.str()).second) continue;
      ManageFileOfObject(*named, context);
    }
  }
  for (const auto& key : KeysOf(object, kRelationSlot)) {
    ZRBObject* relation = answer.GetObject(key);
    if (!relation) continue;
    ++context.depth;
    if (FAILED(ManageFilesForCacheAllSubass(answer, *relation, context))) hr = E_FAIL;
    --context.depth;
  }
  return hr;
}

void ZRBCacheFileUtil::ManageFileOfObject(const ZRBObject& object, ZRBCacheFileContext& context) {
  CADUnicodeString location = FileInExchangeMap(object.GetSlotValue("EXTERNAL_LOCATION"));
  if (location.IsEmpty()) return;
  if (ZRBFileUtil::HasExtension(location, "ZRBArchive")) {
    ManageFilesForCacheArchive(object, object.GetSlotValue("CONTENT_FILE_NAME"), context);
    return;
  }
  DeleteVisWithWrongTime(location, context, CADUnicodeString(object.GetSlotValue("VIS_LOCATION")));
  SetTimestampOnFile(object, location, object.GetSlotValue("MODIFICATION_DATE_GMT"), context);
}

HRESULT ZRBCacheFileUtil::ManageFilesForCacheArchive(const ZRBObject& archive, const CADString& contentFileName,
                                                     ZRBCacheFileContext& context) {
  ZRB_TRACE("ZRBFileUtil::ManageFilesForCacheArchive");
  CADUnicodeString location = FileInExchangeMap(archive.GetSlotValue("EXTERNAL_LOCATION"));
  if (location.IsEmpty()) return E_FAIL;
  HRESULT hr = SetTimestampOnFile(archive, location, archive.GetSlotValue("MODIFICATION_DATE_GMT"), context);
  // The archive's content file carries the archive's vis; its stamp comes
  // with the archive object.
  const CADUnicodeString contentName = ZRBStaleFiles::FileNameOfLocation(contentFileName);
  if (IsOn("ZRB_ENABLE_ARCHIVE_CACHE") && !contentName.IsEmpty()) {
    CADUnicodeString content = ZRBAfxCache::MakePath(ZRBFileUtil::GetDirPathFromFilePath(location, 0), contentName);
    DeleteVisWithWrongTime(content, context);
    CADString stamp = archive.GetSlotValue("ZRB_ARCHIVE_VIS_TIMESTAMP");
    if (!stamp.IsEmpty() && FAILED(SetTimestampOnFile(archive, content, stamp, context))) hr = E_FAIL;
  }
  if (SUCCEEDED(hr)) ZRB_TRACE_OK();
  return hr;
}

HRESULT ZRBCacheFileUtil::SetTimestampOnFile(const ZRBObject& object, const CADUnicodeString& filePath,
                                             const CADString& modificationDateGmt, ZRBCacheFileContext& context) {
  ZRB_TRACE("ZRBFileUtil::SetTimestampOnFile");
  struct tm broken {};
  if (!ParsePdmDate(modificationDateGmt, broken)) {
    ZRB_DEBUG("ZRBFileUtil::SetTimestampOnFile **** illegal DateTime format");
    return E_FAIL;
  }
  // A backup of the stale-file protocol keeps the time it had; a model the
  // PDM did not copy is not the version the date describes.
  if (ZRBFileUtil::GetFileNameFromPath(filePath).StartsWith(kBackupPrefix) ||
      object.GetSlotValue("COPY_MODEL_IGNORED") == "1") {
    ZRB_TRACE_OK();
    return S_OK;
  }
  if (ZRBCacheFileEnvironment::Get().IsFileInSession(filePath)) {
    ZRB_DEBUG("ZRB Info: File already in Session: %s", filePath.c_str());
    ZRB_TRACE_OK();
    return S_OK;
  }
  if (!IsOn("ZRB_DISABLE_SET_TIMESTAMP")) {
    int regular = 0;
    ZRBFileUtil::IsRegularFile(filePath, &regular);
    if (!regular) {
      ZRB_DEBUG("ZRBFileUtil::SetTimestampOnFile Not a regular File: %s", filePath.c_str());
      return E_FAIL;
    }
    struct utimbuf times {};
    times.actime = ZRBTimeUtil::mkgmtime(&broken);
    times.modtime = times.actime;
    if (::utime(filePath.c_str(), &times) != 0) {
      ZRB_DEBUG("ZRBFileUtil::SetTimestampOnFile failed to set DateTime");
      return E_FAIL;
    }
  }
  CADString visLocation = object.GetSlotValue("VIS_LOCATION");
  if (!visLocation.IsEmpty() && !IsOn("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP")) {
    CADUnicodeString cacheName;
    ZRBFileUtil::RenameVisFileInCacheDir(visLocation, filePath, context.daylight, context.timeMode, cacheName);
  }
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBCacheFileUtil::DeleteVisWithWrongTime(const CADUnicodeString& modelPath, ZRBCacheFileContext& context,
                                                 const CADUnicodeString& deliveredVis) {
  // Only a cache that names vis files by model time can hold stale ones; a
  // model open in the session keeps its vis until it is closed.
  if (context.cacheDirectory.IsEmpty() || !context.cacheTimeStamp || context.cachedVisNames.IsEmpty()) return S_OK;
  if (ZRBCacheFileEnvironment::Get().IsFileInSession(modelPath)) return S_OK;
  CADUnicodeString stamp = ZRBFileUtil::GetVisTimeStamp(modelPath, context.timeMode);
  if (stamp.IsEmpty()) return S_OK;  // no model on disk: nothing to compare with
  std::string prefix = ZRBFileUtil::GetFileNameFromPath(modelPath).str() + ".";
  CADUnicodeString delivered = deliveredVis;
  if (!delivered.IsEmpty()) ZRBFileUtil::StripPath(delivered);
  for (int i = context.cachedVisNames.Size(); i >= 1; --i) {
    const CADString& name = context.cachedVisNames[i];
    if (!name.StartsWith(prefix) || name.Find(stamp.view()) >= 0) continue;
    CADUnicodeString path = ZRBAfxCache::MakePath(context.cacheDirectory, CADUnicodeString(name));
    CADUnicodeString resolved = path;
    ZRBFileUtil::StripPath(resolved);
    int isDelivered = 0;
    if (!delivered.IsEmpty()) ZRBAfxCache::CompareFullPath(resolved, delivered, isDelivered);
    if (isDelivered) continue;
    ZRB_DEBUG("ZRB: removing cached vis %s", path.c_str());
    if (FAILED(CADDeleteFile(path)) && context.filesToRefresh) context.filesToRefresh->Append(path);
    context.cachedVisNames.RemovePosition(i);
  }
  return S_OK;
}
