// The files a PDM answer delivered into the exchange map: their time stamps and the host cache's vis files of
// them. Called by the read once the answer is in.
#pragma once

#include <ctime>

#include "CADBaseTypes.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBObject;
class ZRBObjectManager;
struct ZRBCacheFileContext;

class ZRBCacheFileUtil {
 public:
  // Sets the time stamps of the files the answer delivered and drops cached
  // vis files of models whose time changed; files that could not be deleted
  // go to filesToRefresh.
  static HRESULT ManageFilesForCache(ZRBObjectManager& answer, CADListValCADUnicodeString& filesToRefresh);
  // One object of the answer and, through "SUBASSRELATIONS", the objects below it.
  static HRESULT ManageFilesForCacheAllSubass(ZRBObjectManager& answer, const ZRBObject& object,
                                              ZRBCacheFileContext& context);
  static HRESULT ManageFilesForCacheArchive(const ZRBObject& archive, const CADString& contentFileName,
                                            ZRBCacheFileContext& context);
  // Sets the file's access and modification time to the object's
  // "MODIFICATION_DATE_GMT" ("YYYY-MM-DD HH:MM:SS" and three more
  // characters, UTC) and names its vis file for the cache.
  static HRESULT SetTimestampOnFile(const ZRBObject& object, const CADUnicodeString& filePath,
                                    const CADString& modificationDateGmt, ZRBCacheFileContext& context);
  // Removes the cached vis files of a model that no longer match its time,
  // except the vis file just delivered for it (`deliveredVis`, may be "").
  static HRESULT DeleteVisWithWrongTime(const CADUnicodeString& modelPath, ZRBCacheFileContext& context,
                                        const CADUnicodeString& deliveredVis = CADUnicodeString());
  // Seconds since 1970 (UTC) of a PDM date "YYYY-MM-DD HH:MM:SS" and three more characters; 0 when the text has
  // another length or a field is no number.
  static int ParseModificationDate(const CADString& text, std::time_t& seconds);

 private:
  // The file of one answer object: stale vis files, then its time stamp.
  static void ManageFileOfObject(const ZRBObject& object, ZRBCacheFileContext& context);
};
