// The released cache's vis files around one read request: those no session document uses are deleted, the used
// ones get their unstamped names while the PDM works and their stamped names back afterwards.
#pragma once

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

// One per command; user-interface thread only. Remembers the renamed files between the two calls.
class ZRBReleasedCacheVisNames {
 public:
  // Before the request: deletes the released cache's vis files no session document uses (with
  // "ZRB_CLEANRELEASEDCACHE" "ON") and gives the used ones their unstamped names, remembered for the restore.
  // E_FAIL when the released-cache directory cannot be read.
  HRESULT DeleteNotLoadedVisFromReleasedCache(const CADUnicodeString& xmapDirectory,
                                              const CADUnicodeString& releasedXmapDirectory);
  // After the request: renames those files back. Lists of different lengths are cleared and fail.
  HRESULT RestoreTimeStampInReleasedCacheFiles();

 private:
  // Released-cache files renamed for a read request and their names meanwhile (parallel lists).
  CADListValCADUnicodeString renamedFiles_;
  CADListValCADUnicodeString renamedNewPaths_;
};
