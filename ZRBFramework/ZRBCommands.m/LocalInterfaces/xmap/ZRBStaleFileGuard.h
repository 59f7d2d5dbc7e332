// One run of the stale-file protocol around a PDM request that delivers
// documents: construction writes the list of cached files for the PDM and
// moves the stale files aside; destruction puts every backup back (or drops
// it when the PDM delivered the file anew), on every way out of the caller.
//
//   ZRBStaleFileGuard staleFiles;
//   if (!staleFiles.IsActive()) return E_FAIL;   // no exchange map: refuse
//   ... write the request (XMAPCONTENT = staleFiles.GetListPath()), call the PDM, read the reply ...
//   staleFiles.ProcessCachedFiles(reply);
//   ... load the documents ...
#pragma once

#include "CADUnicodeString.h"

class ZRBObjectManager;

// User-interface thread only; one guard per request.
class ZRBStaleFileGuard {
 public:
  // --- lifecycle
  // Without "ZRBXMAP" the guard stays inactive and touches no file.
  // writeListForPdm 0 skips "xmapfiles.zrb" (for requests that bring their own).
  explicit ZRBStaleFileGuard(int writeListForPdm = 1);
  ~ZRBStaleFileGuard();
  ZRBStaleFileGuard(const ZRBStaleFileGuard&) = delete;
  ZRBStaleFileGuard& operator=(const ZRBStaleFileGuard&) = delete;

  // --- state
  int IsActive() const { return active_; }
  const CADUnicodeString& GetXmap() const { return xmap_; }
  // The list for the PDM; "" when none was written (nothing cached).
  const CADUnicodeString& GetListPath() const { return listPath_; }

  // --- the later steps
  // Gives the files the PDM declared valid their names back.
  void ProcessCachedFiles(ZRBObjectManager& reply);
  // Puts the backups back now; the destructor then has nothing left to do.
  void Restore();

 private:
  CADUnicodeString xmap_;
  CADUnicodeString listPath_;
  int active_ = 0;
  int restored_ = 0;
};
