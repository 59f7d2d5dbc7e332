// One content file of a cache directory: the list of files the cache holds
// with the PDM object of each, read from and written to "content.zrb", and
// kept in line with the directory and its size limit.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBXmapFileList.h"

// Used on the user-interface thread only (through GlobZRBCache and tests).
class ZRBXmapManager {
 public:
  // --- lifecycle: an empty list without paths; the entries die with it
  ZRBXmapManager();
  ~ZRBXmapManager();
  ZRBXmapManager(const ZRBXmapManager&) = delete;
  ZRBXmapManager& operator=(const ZRBXmapManager&) = delete;

  // --- content file
  // The content file; its directory is where every listed file lies.
  void SetContentFileFullPath(CADUnicodeString path);
  const CADUnicodeString& GetContentFileFullPath() const { return contentFilePath_; }
  const CADUnicodeString& GetDirectory() const { return directory_; }
  // Replaces the list by the file's entries. 0 without a path or when the
  // header is cut short; 1 otherwise: a missing file or one of another
  // version gives an empty list, a damaged entry ends the reading with the
  // entries before it kept.
  int ReadContentFile();
  // The same for content held in a stream (tools, fuzzing); a stream that
  // is not good counts as a missing file.
  int ReadContent(std::istream& in);
  // The bytes Write puts into the content file.
  std::string ContentBytes() const;
  // Replaces the content file with the list (through a temporary file, so a
  // crash leaves the old file or the new one). 0 without a path, else 1
  // (also when the file cannot be created; nothing is written then).
  int Write();
  int IsModified() const { return modified_; }
  // Empties the list (the content file stays as it is).
  void ClearList();

  // --- registration (only the file-name part of path is used; the file must
  // lie in the directory)
  // Adds an entry for the file; a file that does not exist changes nothing.
  void AddFile(const CADString& obid, const CADString& modificationDate, const CADString& path, const CADString& dbName,
               const CADString& className);
  // Gives the entry of that file name the new identity, in its place, or adds one.
  void UpdateFile(const CADString& obid, const CADString& modificationDate, const CADString& path,
                  const CADString& dbName, const CADString& className);
  // 1 when the file is listed, unchanged on disk, and obid, modificationDate,
  // dbName and className equal the listed ones.
  int FileExist(const CADString& obid, const CADString& modificationDate, const CADString& path,
                const CADString& dbName, const CADString& className);
  // The key under which a file is sorted and found: its name, but for a vis
  // file made from a model, the model's name ("a.CADPart.vis" -> "a.CADPart").
  static CADString SortKeyFor(const CADString& fileName);

  // --- keeping the list in line with the directory
  // Drops entries whose file is gone or changed. Files on disk the list does
  // not know (or that changed): with removeUnknown, regular files and links
  // are deleted, never the content file itself; else, when extensions are
  // given, files with one of them are deleted. 0 when the directory cannot
  // be read.
  int Check(const CADListValCADUnicodeString* extensions, const int& removeUnknown);
  // Deletes the oldest files until the rest (in whole kilobytes) stays below
  // the limit, then writes the content file. Always 1.
  int RemoveCacheFilesToLimit(const unsigned int& limitKb);

  // --- vis files another object's model would inherit (always 1)
  // Deletes the host's local-cache vis of the model at path when the listed
  // entry of that name belongs to another object with the same date.
  int CheckFileVersionInLocalChache(const CADString& obid, const CADString& modificationDate, const CADString& path,
                                    const CADString& dbName, const CADString& className);
  // The same for this (released-cache) list: deletes the listed file and its entry.
  int CheckFileVersionInReleasedChache(const CADString& obid, const CADString& modificationDate, const CADString& path,
                                       const CADString& dbName, const CADString& className);

  // --- reading the list
  int Size() const { return list_.Size(); }
  // The entries in list order (owned by the manager).
  std::vector<const ZRBXmapFile*> GetEntries() const;
  const ZRBXmapFile* FindByFileName(const CADString& fileName) const;
  const ZRBXmapFile* FindBySortKey(const CADString& sortKey) const;
  // Deletes the entry with that file name (the file stays); 1 when there was one.
  int RemoveEntry(const CADString& fileName);

 private:
  const CADString& DirectoryText() const { return directoryText_; }
  // What Check does with a file on disk the list does not vouch for.
  void HandleUnlistedFile(const CADString& name, const CADListValCADUnicodeString* extensions, int removeUnknown);
  static CADString NameOf(const CADString& path);

  ZRBXmapFileList list_;
  CADUnicodeString contentFilePath_;
  CADUnicodeString directory_;
  CADString directoryText_;  // the same in the 8-bit form the entries take
  int modified_ = 0;
};
