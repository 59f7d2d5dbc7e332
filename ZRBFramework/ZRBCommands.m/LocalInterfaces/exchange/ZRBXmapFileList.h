// The entries of one content file in list order (by sort key; an entry added
// later stands after those of an equal key), indexed by file name and by
// sort key so that lookups stay cheap for large caches.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ZRBXmapFile.h"

// Used on the user-interface thread only, by its manager.
class ZRBXmapFileList {
 public:
  // --- lifecycle (owns its entries)
  ZRBXmapFileList() = default;
  ZRBXmapFileList(const ZRBXmapFileList&) = delete;
  ZRBXmapFileList& operator=(const ZRBXmapFileList&) = delete;

  // --- changes
  // Places the entry after every entry whose key does not sort after its own.
  ZRBXmapFile* Insert(std::unique_ptr<ZRBXmapFile> entry);
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
  int Size() const { return static_cast<int>(entries_.size()); }
  std::vector<ZRBXmapFile*> InOrder() const;

 private:
  // List order: Compare, then the insertion sequence.
  struct Order {
    using is_transparent = void;
    bool operator()(const std::unique_ptr<ZRBXmapFile>& a, const std::unique_ptr<ZRBXmapFile>& b) const {
      return Less(a.get(), b.get());
    }
    bool operator()(const ZRBXmapFile* a, const std::unique_ptr<ZRBXmapFile>& b) const { return Less(a, b.get()); }
    bool operator()(const std::unique_ptr<ZRBXmapFile>& a, const ZRBXmapFile* b) const { return Less(a.get(), b); }
    static bool Less(const ZRBXmapFile* a, const ZRBXmapFile* b);
  };

  void Unindex(const ZRBXmapFile* entry);

  std::set<std::unique_ptr<ZRBXmapFile>, Order> entries_;
  std::unordered_map<std::string, std::vector<ZRBXmapFile*>> byFileName_;
  std::uint64_t nextSeq_ = 0;
};
