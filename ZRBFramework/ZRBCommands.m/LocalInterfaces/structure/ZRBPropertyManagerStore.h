// The property manager's records and its Id counter: finding records by key,
// creating and removing them. Knows nothing of products or files on disk.
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "CADUnicodeString.h"
#include "ZRBPropertyFile.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyPathToRoot.h"
#include "ZRBPropertyRecordIndex.h"
#include "ZRBPropertyReference.h"

// Lives inside the property manager, on the host's user-interface thread.
// Records are owned here; the pointers handed out stay valid until the record
// is removed (delete, merge, integrity check, Clear).
// Lookups use hash buckets: a stored record knows the store's index, and its key
// setters take it out before a change and back in after, so none goes stale.
// A removal leaves an empty slot that the next listing of that kind closes.
class ZRBPropertyManagerStore {
 public:
  // --- lifecycle
  ZRBPropertyManagerStore();
  // The records move with their index; the source stays a valid store
  // (empty, or after an assignment holding what the target held).
  ZRBPropertyManagerStore(ZRBPropertyManagerStore&& other);
  ZRBPropertyManagerStore& operator=(ZRBPropertyManagerStore&& other) noexcept;
  ~ZRBPropertyManagerStore();

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
  // Every listing is in store order: creation or file order.
  const std::vector<std::unique_ptr<ZRBPropertyReference>>& References() const;

  // --- file records
  ZRBPropertyFile* FindFile(const CADUnicodeString& fullPath) const;
  ZRBPropertyFile* FindOrCreateFile(const CADUnicodeString& fullPath);
  void RemoveFile(const ZRBPropertyFile* file);
  const std::vector<std::unique_ptr<ZRBPropertyFile>>& Files() const;

  // --- instance records
  ZRBPropertyInstance* FindInstance(int parentId, const CADUnicodeString& childInstanceName) const;
  ZRBPropertyInstance* FindOrCreateInstance(int parentId, const CADUnicodeString& childInstanceName);
  void RemoveInstance(const ZRBPropertyInstance* instance);
  // Makes every instance whose child was `fromId` point at `toId`.
  void RepointChildIds(int fromId, int toId);
  // Moves the instances below `fromId` under `toId`, except names `toId`
  // already has.
  void RepointParentIds(int fromId, int toId);
  const std::vector<std::unique_ptr<ZRBPropertyInstance>>& Instances() const;

  // --- path-to-root records
  ZRBPropertyPathToRoot* FindPathToRoot(const CADUnicodeString& path) const;
  ZRBPropertyPathToRoot* FindOrCreatePathToRoot(const CADUnicodeString& path);
  void RemovePathToRoot(const ZRBPropertyPathToRoot* record);
  const std::vector<std::unique_ptr<ZRBPropertyPathToRoot>>& PathToRoots() const;

  // --- records read from a file: appended as they are, Ids unchanged
  void Add(std::unique_ptr<ZRBPropertyReference> record);
  void Add(std::unique_ptr<ZRBPropertyFile> record);
  void Add(std::unique_ptr<ZRBPropertyInstance> record);
  void Add(std::unique_ptr<ZRBPropertyPathToRoot> record);

  // Drops every record; the Id counter keeps its value (Ids are not reused).
  void Clear();

  // Two spellings of one file: exact, or on a platform with case-blind file
  // names equal ignoring case when the file-name parts are identical.
  static bool SamePath(const CADUnicodeString& a, const CADUnicodeString& b);

 private:
  // One kind of record: the records in store order with the slots removals
  // emptied (closed when the list is next handed out), and where each record
  // sits, so that a removal never touches a pointer that is not a record.
  template <class Record>
  struct Records {
    std::vector<std::unique_ptr<Record>> slots;
    std::unordered_map<const Record*, std::size_t> slotOf;
    std::size_t holes = 0;
  };
  template <class Record>
  Record* Append(Records<Record>& records, std::unique_ptr<Record> record);
  template <class Record>
  void Remove(Records<Record>& records, const Record* record);
  template <class Record>
  static const std::vector<std::unique_ptr<Record>>& Compacted(Records<Record>& records);
  void Swap(ZRBPropertyManagerStore& other) noexcept;

  int lastId_ = 0;
  std::unique_ptr<ZRBPropertyRecordIndex> index_;
  // Mutable: handing a list out closes its empty slots.
  mutable Records<ZRBPropertyInstance> instances_;
  mutable Records<ZRBPropertyReference> references_;
  mutable Records<ZRBPropertyFile> files_;
  mutable Records<ZRBPropertyPathToRoot> pathToRoots_;
};
