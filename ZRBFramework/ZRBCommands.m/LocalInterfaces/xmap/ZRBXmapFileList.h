// The entries of one content file in list order (by sort key; an entry added
// later stands after those of an equal key), indexed by file name and by
// sort key so that lookups and registrations stay cheap for large caches.
// The order is established when someone walks the list, not at each
// insertion: registering n files costs O(n), one walk O(n log n).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ZRBXmapFile.h"
#include "ZRBXmapFileIndex.h"

// Used on the user-interface thread only, by its manager.
class ZRBXmapFileList {
 public:
  // --- lifecycle (owns its entries)
  ZRBXmapFileList() = default;
  ZRBXmapFileList(const ZRBXmapFileList&) = delete;
  ZRBXmapFileList& operator=(const ZRBXmapFileList&) = delete;

  // --- changes
  // Room for n entries in all (reading a content file knows its count).
  void Reserve(std::size_t n);
  // Places the entry after every entry whose key does not sort after its own.
  ZRBXmapFile* Insert(std::unique_ptr<ZRBXmapFile> entry);
  // Insert for each entry in turn, indexing them together (reading a content file).
  void InsertAll(std::vector<std::unique_ptr<ZRBXmapFile>> entries);
  // Deletes the entry (a pointer the list does not hold is ignored).
  void Erase(const ZRBXmapFile* entry);
  void Clear();
  // Hands every entry over in list order and leaves the list empty; put
  // back with Insert in the order wanted.
  std::vector<std::unique_ptr<ZRBXmapFile>> TakeAll();

  // --- lookup (the first entry in list order, or null)
  ZRBXmapFile* FindByFileName(std::string_view fileName) const;
  ZRBXmapFile* FindBySortKey(std::string_view sortKey) const;

  // --- walking
  int Size() const { return live_; }
  std::vector<ZRBXmapFile*> InOrder() const;

  // List order: Compare, then the insertion sequence.
  static bool Less(const ZRBXmapFile* a, const ZRBXmapFile* b);

 private:
  // Takes the entry into the slots (not the indexes); null for null.
  ZRBXmapFile* Place(std::unique_ptr<ZRBXmapFile> entry);
  // Sorts the slots when insertions came out of order and drops erased ones.
  void Settle() const;
  static ZRBXmapFile* First(const ZRBXmapFileIndex& index, std::string_view key);

  // Slots in list order once settled; an erased entry leaves a null slot
  // until then. Settling reorders them, so they are mutable.
  mutable std::vector<std::unique_ptr<ZRBXmapFile>> slots_;
  mutable bool sorted_ = true;
  mutable std::size_t erased_ = 0;
  // By the entry's own file name and sort key, which never change while the
  // entry is listed (an update keeps both).
  ZRBXmapFileIndex byFileName_{[](const ZRBXmapFile& entry) { return entry.GetFileName(); }};
  ZRBXmapFileIndex bySortKey_{[](const ZRBXmapFile& entry) { return entry.GetSortKey(); }};
  int live_ = 0;
  std::uint64_t nextSeq_ = 0;
};
