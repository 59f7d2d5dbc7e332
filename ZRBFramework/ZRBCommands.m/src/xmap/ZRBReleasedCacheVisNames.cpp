#include "ZRBReleasedCacheVisNames.h"

#include "CADDocumentServices.h"
#include "CADSystemServices.h"
#include "ZRBAfxBase.h"
#include "ZRBCache.h"
#include "ZRBCacheVisName.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocumentsInSession.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

HRESULT ZRBReleasedCacheVisNames::DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                                                      const CADUnicodeString& releasedXmapDirectory) {
  ZRB_TRACE("ZRBReleasedCacheVisNames::DeleteNotLoadedVisFromReleasedCache");
  const int useReleasedCache = g_ZRBConfig.CompareEnvVar("ZRB_USERELEASEDCACHE", "ON", 1);
  const int cleanReleasedCache = g_ZRBConfig.CompareEnvVar("ZRB_CLEANRELEASEDCACHE", "ON", 1);
  const int ignoreTimeStamps = g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP", "ON", 1);
  // The cache object tidies the released cache itself when it works with it.
  if (GlobZRBCache.GetWorkWithCache() || !useReleasedCache || (!cleanReleasedCache && ignoreTimeStamps)) {
    ZRB_TRACE_OK();
    return S_OK;
  }
  CADListValCADUnicodeString names;
  if (releasedXmapDirectory.IsEmpty() || FAILED(CADListDirectory(releasedXmapDirectory, names))) {
    ZRB_DEBUG("Could not access sReleasedMap directory");
    return E_FAIL;
  }
  const ZRBDocumentsInSession documents;
  for (const CADUnicodeString& name : names) {
    if (!ZRBFileUtil::HasExtension(name, "vis")) continue;
    const CADUnicodeString base = ZRBCacheVisName::BaseName(name, !ignoreTimeStamps);
    if (documents.Contains(ZRBAfxBase::MakePath(xmapDirectory, base))) continue;
    const CADUnicodeString path = ZRBAfxBase::MakePath(releasedXmapDirectory, name);
    if (documents.Contains(path)) {
      if (ignoreTimeStamps) continue;
      const CADUnicodeString unstamped = ZRBAfxBase::MakePath(releasedXmapDirectory, base + ".vis");
      if (unstamped == path) continue;
      if (SUCCEEDED(CADRenameFile(path, unstamped))) {
        renamedFiles_.Append(path);
        renamedNewPaths_.Append(unstamped);
      } else {
        ZRB_DEBUG("failed to rename %s to %s", path.c_str(), unstamped.c_str());
      }
      continue;
    }
    if (cleanReleasedCache) {
      ZRB_DEBUG("Delete %s", path.c_str());
      CADDeleteFile(path);
    }
  }
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBReleasedCacheVisNames::RestoreTimeStampInReleasedCacheFiles() {
  ZRB_TRACE("ZRBReleasedCacheVisNames::RestoreTimeStampInReleasedCacheFiles");
  if (renamedFiles_.Size() != renamedNewPaths_.Size()) {
    renamedFiles_.RemoveAll();
    renamedNewPaths_.RemoveAll();
    return E_FAIL;
  }
  for (int i = 1; i <= renamedFiles_.Size(); ++i) {
    if (FAILED(CADRenameFile(renamedNewPaths_[i], renamedFiles_[i])))
      ZRB_DEBUG("failed to rename %s to %s", renamedNewPaths_[i].c_str(), renamedFiles_[i].c_str());
  }
  renamedFiles_.RemoveAll();
  renamedNewPaths_.RemoveAll();
  ZRB_TRACE_OK();
  return S_OK;
}
