// The property manager's records and its Id counter: finding records by key,
// creating and removing them. Knows nothing of products or files on disk.
#pragma once

#include <memory>
#include <vector>

#include "CADUnicodeString.h"
#include "ZRBPropertyFile.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyPathToRoot.h"
#include "ZRBPropertyReference.h"

// Lives inside the property manager, on the host's user-interface thread.
// Records are owned here; the pointers handed out stay valid until the record
// is removed (delete, merge, integrity check, Clear).
class ZRBPropertyManagerStore {
 public:
  // --- Ids
  // The next Id (the first record gets 1); never reused while the process
  // runs, unless a file brought the counter to its end: then the smallest
  // Id no record uses.
  int NewId();
  int GetLastId() const { return lastId_; }
  // Raises the counter so that new Ids stay above `id` (after a file read).
  void RaiseIdCounter(int id) {
    if (id > lastId_) lastId_ = id;
  }

  // --- reference records
  // First record with that part number; an empty part number never matches.
  ZRBPropertyReference* FindReference(const CADUnicodeString& partNumber) const;
  ZRBPropertyReference* FindReferenceById(int id) const;
  // First record whose full path names the same file.
  ZRBPropertyReference* FindReferenceByFullPath(const CADUnicodeString& fullPath) const;
  // First record whose full path has the same file-name part.
  ZRBPropertyReference* FindReferenceByFileName(const CADUnicodeString& fileName) const;
  // A new record with a new Id and the given part number (which may be "").
  ZRBPropertyReference* CreateReference(const CADUnicodeString& partNumber);
  ZRBPropertyReference* FindOrCreateReference(const CADUnicodeString& partNumber);
  void RemoveReference(const ZRBPropertyReference* reference);
  const std::vector<std::unique_ptr<ZRBPropertyReference>>& References() const { return references_; }

  // --- file records
  ZRBPropertyFile* FindFile(const CADUnicodeString& fullPath) const;
  ZRBPropertyFile* FindOrCreateFile(const CADUnicodeString& fullPath);
  void RemoveFile(const ZRBPropertyFile* file);
  const std::vector<std::unique_ptr<ZRBPropertyFile>>& Files() const { return files_; }

  // --- instance records
  ZRBPropertyInstance* FindInstance(int parentId, const CADUnicodeString& childInstanceName) const;
  ZRBPropertyInstance* FindOrCreateInstance(int parentId, const CADUnicodeString& childInstanceName);
  void RemoveInstance(const ZRBPropertyInstance* instance);
  // Makes every instance whose child was `fromId` point at `toId`.
  void RepointChildIds(int fromId, int toId);
  // Moves the instances below `fromId` under `toId`, except names `toId`
  // already has.
  void RepointParentIds(int fromId, int toId);
  const std::vector<std::unique_ptr<ZRBPropertyInstance>>& Instances() const { return instances_; }

  // --- path-to-root records
  ZRBPropertyPathToRoot* FindPathToRoot(const CADUnicodeString& path) const;
  ZRBPropertyPathToRoot* FindOrCreatePathToRoot(const CADUnicodeString& path);
  void RemovePathToRoot(const ZRBPropertyPathToRoot* record);
  const std::vector<std::unique_ptr<ZRBPropertyPathToRoot>>& PathToRoots() const { return pathToRoots_; }

  // --- records read from a file: appended as they are, Ids unchanged
  void Add(std::unique_ptr<ZRBPropertyReference> record);
  void Add(std::unique_ptr<ZRBPropertyFile> record);
  void Add(std::unique_ptr<ZRBPropertyInstance> record);
  void Add(std::unique_ptr<ZRBPropertyPathToRoot> record);

  // --- lifecycle
  // Drops every record; the Id counter keeps its value (Ids are not reused).
  void Clear();

  // Two spellings of one file: exact, or on a platform with case-blind file
  // names equal ignoring case when the file-name parts are identical.
  static bool SamePath(const CADUnicodeString& a, const CADUnicodeString& b);

 private:
  int lastId_ = 0;
  std::vector<std::unique_ptr<ZRBPropertyInstance>> instances_;
  std::vector<std::unique_ptr<ZRBPropertyReference>> references_;
  std::vector<std::unique_ptr<ZRBPropertyFile>> files_;
  std::vector<std::unique_ptr<ZRBPropertyPathToRoot>> pathToRoots_;
};
