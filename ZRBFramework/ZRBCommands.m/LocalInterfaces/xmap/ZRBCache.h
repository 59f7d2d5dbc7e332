// The process-wide exchange-map cache (GlobZRBCache): the content files of
// the exchange map and of the released cache, the files commands register
// in them, and the list of cached files handed to the PDM.
#pragma once

#include <memory>

#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBCacheSettings.h"
#include "ZRBXmapManager.h"

class ZRBObject;

// Every member is used on the host's user-interface thread only (commands,
// timer callbacks, module load and unload); nothing locks.
class ZRBCache {
 public:
  // --- lifecycle: loaded when constructed (module load), unloaded when destroyed
  ZRBCache();
  ~ZRBCache();
  ZRBCache(const ZRBCache&) = delete;
  ZRBCache& operator=(const ZRBCache&) = delete;
  // Reads the switches and the content files (a loaded cache is unloaded first).
  void Load();
  // Brings each content file in line with its directory and trims it to its
  // limit, then drops the managers. A process that never used the cache
  // (a tool, a session without commands) leaves the directories alone.
  void Unload();
  // Drops everything without touching a file (tests).
  void ResetForTests();

  // --- registration and lookup (the file's path; obid, dates and names of its PDM object)
  // Registers a file of the exchange map, after dropping vis files of the
  // local and released caches that would be taken for the new object's.
  void UpdateXMapFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                      const CADString& dbName, const CADString& className);
  // Registers a file of the released cache (when it is used).
  void UpdateRelMapFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                        const CADString& dbName, const CADString& className);
  // 1 when the exchange map holds this object's file unchanged.
  int XMapFileExist(const CADString& obid, const CADString& modificationDate, const CADString& path,
                    const CADString& dbName, const CADString& className);
  // UpdateXMapFile with the slots "OBID", "MODIFICATION_DATE_GMT", "DB_NAME"
  // and "CLASSNAME" of the PDM object the file belongs to.
  void RegisterObjectFile(const ZRBObject& object, const CADUnicodeString& path);
  // Records a file of the exchange map that no PDM item owns yet ("NO_OBID", "NO_TIMESTAMP", "NO_DB",
  // "NO_CLASS"), so that the content file's check keeps it; a file the content file knows stays as it is.
  void RegisterFileWithoutIdentity(const CADUnicodeString& path);

  // --- content files and the PDM's list
  // Writes the content file of the exchange map (and of the released cache when used).
  void Write();
  // Writes the list of cached files for the PDM to path (an old file there is
  // removed first). 1 written, 0 nothing written (disabled, no exchange map,
  // or nothing cached).
  int WriteContentForPdm(const CADUnicodeString& path);

  // --- modes
  // While on (1), nothing is registered or looked up.
  void SetTempMode(int mode) { tempMode_ = mode == 1 ? 1 : 0; }
  int GetTempMode() const { return tempMode_; }
  // 1 when the released cache is configured and the host's cache is activated.
  int GetWorkWithCache() const { return useReleasedCache_; }
  int IsDisabled() const { return settings_.disabled; }
  const ZRBCacheSettings& GetSettings() const { return settings_; }

  // --- the managers (null before Load, after Unload and while disabled)
  ZRBXmapManager* GetXmapManager() { return xmapManager_.get(); }
  ZRBXmapManager* GetRelMapManager() { return relMapManager_.get(); }

 private:
  // The content files follow the exchange map in use (it can change at run
  // time and differs for the second client): a manager pointing elsewhere
  // saves its list and takes up the current directory's. 1 when there is an
  // exchange map to work on.
  int FollowXmap();
  // 1 when path names a file of the manager's directory (a bare name counts).
  static int LiesIn(const ZRBXmapManager& manager, const CADString& path);
  static void Repoint(ZRBXmapManager& manager, const CADUnicodeString& directory);
  void LoadReleasedCache();

  ZRBCacheSettings settings_;
  std::unique_ptr<ZRBXmapManager> xmapManager_;
  std::unique_ptr<ZRBXmapManager> relMapManager_;
  CADUnicodeString xmapInUse_;  // the exchange map the managers follow; "" when none
  int useReleasedCache_ = 0;
  int tempMode_ = 0;
  int used_ = 0;  // a command registered, looked up or wrote something
};

extern ZRBCache GlobZRBCache;
