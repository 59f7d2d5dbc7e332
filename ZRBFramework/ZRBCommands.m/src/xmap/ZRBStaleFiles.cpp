#include "ZRBStaleFiles.h"

#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBDocumentsInSession.h"
#include "ZRBFileUtil.h"
#include "ZRBLinkStatus.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBRepresentationFormats.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kDocumentExtensions[] = {"model", "CADPart",    "ZRBArchive", "CADProcess", "CADDrawing",
                                               "vis",   "CADProduct", "txt",        "xls"};

bool IsDesignTable(const CADUnicodeString& path) {
  if (!ZRBFileUtil::HasExtension(path, "txt") && !ZRBFileUtil::HasExtension(path, "xls")) return false;
  return GlobPropertyManager.GetFileProperty(path, "ZRB_TYPE") == "DESIGNTABLE";
}

// A directory entry the protocol may rename or delete: never a directory.
bool IsFileEntry(const CADUnicodeString& path) {
  ZRBLinkStatus status = ZRBLinkStatus::Of(path.str());
  return status.exists && (status.isRegular || status.isLink);
}

void RenameTraced(const CADUnicodeString& from, const CADUnicodeString& to) {
  if (SUCCEEDED(CADRenameFile(from, to)))
    ZRB_DEBUG("Renamed %s to %s", from.c_str(), to.c_str());
  else
    ZRB_DEBUG("Could not rename %s to %s", from.c_str(), to.c_str());
}

bool ListDirectory(const CADString& directory, CADListValCADUnicodeString& names) {
  if (directory.IsEmpty() || FAILED(CADListDirectory(CADUnicodeString(directory), names))) {
    ZRB_DEBUG("Could not access exchangemap directory");
    return false;
  }
  return true;
}

bool HasProtocolExtension(const CADUnicodeString& name, const CADListValCADString& formats) {
  for (const char* extension : kDocumentExtensions)
    if (ZRBFileUtil::HasExtension(name, extension)) return true;
  for (const CADString& format : formats)
    if (!format.IsEmpty() && ZRBFileUtil::HasExtension(name, CADUnicodeString(format))) return true;
  return false;
}

}  // namespace

int ZRBStaleFiles::IsProtocolExtension(const CADUnicodeString& name) {
  return HasProtocolExtension(name, ZRBRepresentationFormats::Read()) ? 1 : 0;
}

CADUnicodeString ZRBStaleFiles::FileNameOfLocation(const CADString& location) {
  const int slash = location.FindLast("/");
  CADString name = slash < 0 ? location : location.SubString(slash + 1);
  if (name == "." || name == "..") return CADUnicodeString();
  return CADUnicodeString(name);
}

int ZRBStaleFiles::RenameStaleFilesInExchangeMap(const CADString& directory) {
  ZRB_TRACE("ZRBStaleFiles::RenameStaleFilesInExchangeMap");
  CADListValCADUnicodeString names;
  if (!ListDirectory(directory, names)) return 0;
  const ZRBDocumentsInSession loaded;
  const CADListValCADString formats = ZRBRepresentationFormats::Read();
  for (const CADUnicodeString& name : names) {
    const CADUnicodeString path = ZRBAfxCache::MakePath(CADUnicodeString(directory), name);
    if (loaded.Contains(path)) continue;
    if (GlobPropertyManager.IsArchiveFileNameSet(path)) continue;
    if (IsDesignTable(path)) continue;
    if (name.Find(kBackupPrefix) >= 0) continue;
    if (!HasProtocolExtension(name, formats) || !IsFileEntry(path)) continue;
    RenameTraced(path, ZRBAfxCache::MakePath(CADUnicodeString(directory), CADUnicodeString(kBackupPrefix) + name));
  }
  ZRB_TRACE_OK();
  return 1;
}

void ZRBStaleFiles::ProcessCachedFilesInXmap(ZRBObjectManager& reply) {
  CADUnicodeString xmap;
  // Without "ZRBXMAP" there is no exchange map, only the temporary directory.
  if (ZRBAfxCache::GetXMap(xmap)) ProcessCachedFilesInXmap(reply, xmap);
}

void ZRBStaleFiles::ProcessCachedFilesInXmap(ZRBObjectManager& reply, const CADUnicodeString& xmap) {
  ZRB_TRACE("ZRBStaleFiles::ProcessCachedFilesInXmap");
  if (xmap.IsEmpty()) return;
  for (ZRBObject* object = reply.GetFirstObject(); object; object = reply.GetNextObject(object)) {
    if (object->GetSlotValue("USE_FILE_IN_EXMAP") != "1") continue;
    const CADString location = object->GetSlotValue("EXTERNAL_LOCATION");
    if (location.IsEmpty()) continue;
    // Only the name counts: the PDM never makes the module touch a file
    // outside the exchange map.
    const CADUnicodeString name = FileNameOfLocation(location);
    if (name.IsEmpty()) {
      ZRB_DEBUG("ZRB: EXTERNAL_LOCATION '%s' names no file, ignored", location.c_str());
      continue;
    }
    const CADUnicodeString backup = ZRBAfxCache::MakePath(xmap, CADUnicodeString(kBackupPrefix) + name);
    if (!ZRBLinkStatus::Of(backup.str()).exists) continue;
    RenameTraced(backup, ZRBAfxCache::MakePath(xmap, name));
  }
  ZRB_TRACE_OK();
}

int ZRBStaleFiles::RestoreStaleFilesInExchangeMap(const CADString& directory) {
  ZRB_TRACE("ZRBStaleFiles::RestoreStaleFilesInExchangeMap");
  CADListValCADUnicodeString names;
  if (!ListDirectory(directory, names)) return 0;
  const CADUnicodeString unicodeDirectory(directory);
  const int prefixLength = CADString(kBackupPrefix).GetLength();
  for (const CADUnicodeString& name : names) {
    if (!name.StartsWith(kBackupPrefix) || name.GetLength() == prefixLength) continue;
    // A file named after "." or ".." was never a backup of ours: its "original" is a directory, which would
    // always look present and get the file deleted.
    const CADUnicodeString original = name.SubString(prefixLength);
    if (original == "." || original == "..") continue;
    const CADUnicodeString backup = ZRBAfxCache::MakePath(unicodeDirectory, name);
    const CADUnicodeString target = ZRBAfxCache::MakePath(unicodeDirectory, original);
    if (!IsFileEntry(backup)) continue;
    if (ZRBLinkStatus::Of(target.str()).exists) {
      ZRB_DEBUG("%s Exists in exchangemap. Deleting %s", target.c_str(), backup.c_str());
      if (FAILED(CADDeleteFile(backup))) ZRB_DEBUG("Could not delete backup file %s", backup.c_str());
      continue;
    }
    RenameTraced(backup, target);
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBStaleFiles::CleanUpExchangeMap(const CADString& directory) {
  ZRB_TRACE("ZRBStaleFiles::CleanUpExchangeMap");
  CADListValCADUnicodeString names;
  if (!ListDirectory(directory, names)) return 0;
  const ZRBDocumentsInSession loaded;
  for (const CADUnicodeString& name : names) {
    const CADUnicodeString path = ZRBAfxCache::MakePath(CADUnicodeString(directory), name);
    if (loaded.Contains(path) || !IsFileEntry(path)) continue;
    if (FAILED(CADDeleteFile(path))) ZRB_DEBUG("ZRB: could not delete %s", path.c_str());
  }
  ZRB_TRACE_OK();
  return 1;
}
