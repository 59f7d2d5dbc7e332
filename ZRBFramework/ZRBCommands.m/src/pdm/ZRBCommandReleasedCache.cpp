// The command base's handling of the released cache around a read request.
#include "CADDocumentServices.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBCacheVisName.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocumentsInSession.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

HRESULT ZRBCommand::DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                                        const CADUnicodeString& releasedXmapDirectory) {
  ZRB_TRACE("ZRBCommand::DeleteNotLoadedVisFromReleasedCache");
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
    if (documents.Contains(ZRBAfx::MakePath(xmapDirectory, base))) continue;
    const CADUnicodeString path = ZRBAfx::MakePath(releasedXmapDirectory, name);
    if (documents.Contains(path)) {
      if (ignoreTimeStamps) continue;
      const CADUnicodeString unstamped = ZRBAfx::MakePath(releasedXmapDirectory, base + ".vis");
      if (unstamped == path) continue;
      if (SUCCEEDED(CADRenameFile(path, unstamped))) {
        renamedReleasedCacheFiles_.Append(path);
        renamedReleasedCacheNewPaths_.Append(unstamped);
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

HRESULT ZRBCommand::RestoreTimeStampInReleasedCacheFiles() {
  ZRB_TRACE("ZRBCommand::RestoreTimeStampInReleasedCacheFiles");
  if (renamedReleasedCacheFiles_.Size() != renamedReleasedCacheNewPaths_.Size()) {
    renamedReleasedCacheFiles_.RemoveAll();
    renamedReleasedCacheNewPaths_.RemoveAll();
    return E_FAIL;
  }
  for (int i = 1; i <= renamedReleasedCacheFiles_.Size(); ++i) {
    if (FAILED(CADRenameFile(renamedReleasedCacheNewPaths_[i], renamedReleasedCacheFiles_[i])))
      ZRB_DEBUG("failed to rename %s to %s", renamedReleasedCacheNewPaths_[i].c_str(),
                renamedReleasedCacheFiles_[i].c_str());
  }
  renamedReleasedCacheFiles_.RemoveAll();
  renamedReleasedCacheNewPaths_.RemoveAll();
  ZRB_TRACE_OK();
  return S_OK;
}

void ZRBCommand::RedrawAllModelNodes() { ZRB_DEBUG("ZRB: redraw of the model nodes (nothing to draw)"); }
