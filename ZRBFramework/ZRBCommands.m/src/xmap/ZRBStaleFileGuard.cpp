#include "ZRBStaleFileGuard.h"

#include "ZRBAfxCache.h"
#include "ZRBCache.h"
#include "ZRBStaleFiles.h"
#include "ZRBTrace.h"

ZRBStaleFileGuard::ZRBStaleFileGuard(int writeListForPdm) {
  ZRB_TRACE("ZRBStaleFileGuard::ZRBStaleFileGuard");
  if (!ZRBAfxCache::GetXMap(xmap_)) {
    ZRB_DEBUG("ZRB: no exchange map, stale files left alone");
    return;
  }
  if (writeListForPdm) {
    const CADUnicodeString list = ZRBAfxCache::MakePath(xmap_, "xmapfiles.zrb");
    if (GlobZRBCache.WriteContentForPdm(list)) listPath_ = list;
  }
  // An exchange map that cannot be read has no stale files to put back.
  active_ = 1;
  if (!ZRBStaleFiles::RenameStaleFilesInExchangeMap(xmap_.ConvertToString())) restored_ = 1;
  ZRB_TRACE_OK();
}

ZRBStaleFileGuard::~ZRBStaleFileGuard() { Restore(); }

void ZRBStaleFileGuard::ProcessCachedFiles(ZRBObjectManager& reply) {
  if (active_ && !restored_) ZRBStaleFiles::ProcessCachedFilesInXmap(reply, xmap_);
}

void ZRBStaleFileGuard::Restore() {
  if (!active_ || restored_) return;
  restored_ = 1;
  ZRBStaleFiles::RestoreStaleFilesInExchangeMap(xmap_.ConvertToString());
}
