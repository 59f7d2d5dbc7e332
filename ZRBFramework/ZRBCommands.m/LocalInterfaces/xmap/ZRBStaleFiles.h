// The stale-file protocol of the exchange map: before a load the documents
// nobody uses are moved aside under a backup name, the PDM delivers fresh
// copies or declares the old ones valid, and afterwards every backup that was
// not superseded gets its name back. Also the cleaning of the whole map.
#pragma once

#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBObjectManager;

// User-interface thread only. The PDM writes into the same directory between
// the steps; the module does not touch it while the PDM works.
class ZRBStaleFiles {
 public:
  // A file is a backup when its name begins with this.
  static constexpr const char* kBackupPrefix = "ZRBBACKUP_";

  // --- the three steps (directory: the exchange map)
  // Step 1: renames every document file that is not loaded in the session,
  // not a registered archive, not a design table and not a backup to
  // kBackupPrefix + its name. 1 done, 0 when the directory cannot be read.
  static int RenameStaleFilesInExchangeMap(const CADString& directory);
  // Step 2: gives each file the PDM declared valid ("USE_FILE_IN_EXMAP" "1",
  // named by the last component of its "EXTERNAL_LOCATION") its name back.
  // Works in the current exchange map; nothing without "ZRBXMAP".
  static void ProcessCachedFilesInXmap(ZRBObjectManager& reply);
  // The same in a given exchange map.
  static void ProcessCachedFilesInXmap(ZRBObjectManager& reply, const CADUnicodeString& xmap);
  // Step 3: a backup whose name was delivered anew is deleted, every other
  // one renamed back. 1 done, 0 when the directory cannot be read.
  static int RestoreStaleFilesInExchangeMap(const CADString& directory);

  // --- the whole map
  // Deletes every file of the directory whose document is not loaded in the
  // session. 1 done, 0 when the directory cannot be read.
  static int CleanUpExchangeMap(const CADString& directory);

  // --- the rules
  // 1 when the name has an extension the protocol renames: the document
  // kinds and the representation formats of "ZRB_REP_FORMATS".
  static int IsProtocolExtension(const CADUnicodeString& name);
  // The last path component of a location the PDM sent; "" for a location
  // that names no file ("", ".", "..", a trailing "/").
  static CADUnicodeString FileNameOfLocation(const CADString& location);
};
