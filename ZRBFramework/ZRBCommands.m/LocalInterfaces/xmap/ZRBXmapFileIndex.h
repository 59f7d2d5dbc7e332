// Entries of a content-file list found by one of their texts (file name or
// sort key): a flat open-addressing table of (hash, entry), one array for the
// whole list, where a node-based map would allocate per entry and scatter
// them through memory. Several entries may share a text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ZRBXmapFile;

// Used on the user-interface thread only, by its list.
class ZRBXmapFileIndex {
 public:
  // Which text of an entry the index is kept by.
  using KeyOf = std::string_view (*)(const ZRBXmapFile&);
  explicit ZRBXmapFileIndex(KeyOf keyOf) : keyOf_(keyOf) {}

  // Room for n entries without growing.
  void Reserve(std::size_t n);
  void Add(ZRBXmapFile* entry);
  // Add for many entries at once: the cells are fetched ahead, so a table
  // larger than the processor's caches does not cost a wait per entry.
  void AddAll(const std::vector<ZRBXmapFile*>& entries);
  // false when the entry was not indexed.
  bool Remove(const ZRBXmapFile* entry);
  void Clear();

  // Calls visit(entry) for each entry whose text is key.
  template <class Visit>
  void ForEach(std::string_view key, Visit&& visit) const {
    if (cells_.empty()) return;
    const std::uint32_t hash = Hash(key);
    for (std::size_t at = hash & Mask();; at = (at + 1) & Mask()) {
      const Cell& cell = cells_[at];
      if (cell.state == kEmpty) return;
      if (cell.state == kUsed && cell.hash == hash && keyOf_(*cell.entry) == key) visit(cell.entry);
    }
  }

 private:
  enum State : std::uint32_t { kEmpty = 0, kUsed = 1, kRemoved = 2 };
  struct Cell {
    ZRBXmapFile* entry = nullptr;
    std::uint32_t hash = 0;
    std::uint32_t state = kEmpty;
  };

  static std::uint32_t Hash(std::string_view key);
  std::size_t Mask() const { return cells_.size() - 1; }
  // Rebuilds the table with at least `capacity` cells, dropping removed ones.
  void Rehash(std::size_t capacity);
  void Place(ZRBXmapFile* entry, std::uint32_t hash);

  KeyOf keyOf_;
  std::vector<Cell> cells_;  // a power of two in size, or empty
  std::size_t live_ = 0;
  std::size_t occupied_ = 0;  // live and removed cells: what probes must pass
};
