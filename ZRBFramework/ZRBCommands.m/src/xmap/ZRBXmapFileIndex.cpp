#include "ZRBXmapFileIndex.h"

#include <functional>

#include "ZRBXmapFile.h"

namespace {

// At most half the cells live, and removed ones purged before three quarters
// are taken, keeps probe runs short.
std::size_t CellsFor(std::size_t entries) {
  std::size_t cells = 16;
  while (cells < 2 * entries) cells *= 2;
  return cells;
}

}  // namespace

std::uint32_t ZRBXmapFileIndex::Hash(std::string_view key) {
  const std::size_t full = std::hash<std::string_view>{}(key);
  return static_cast<std::uint32_t>(full ^ (full >> 32));
}

void ZRBXmapFileIndex::Reserve(std::size_t n) {
  if (CellsFor(n) > cells_.size()) Rehash(CellsFor(n));
}

void ZRBXmapFileIndex::Rehash(std::size_t capacity) {
  std::vector<Cell> old = std::move(cells_);
  cells_.assign(capacity, Cell{});
  occupied_ = 0;
  live_ = 0;
  for (const Cell& cell : old)
    if (cell.state == kUsed) Place(cell.entry, cell.hash);
}

void ZRBXmapFileIndex::Place(ZRBXmapFile* entry, std::uint32_t hash) {
  std::size_t at = hash & Mask();
  while (cells_[at].state == kUsed) at = (at + 1) & Mask();
  if (cells_[at].state == kEmpty) ++occupied_;
  cells_[at] = Cell{entry, hash, kUsed};
  ++live_;
}

void ZRBXmapFileIndex::Add(ZRBXmapFile* entry) {
  if (2 * (live_ + 1) > cells_.size())
    Rehash(CellsFor(live_ + 1));
  else if (4 * (occupied_ + 1) > 3 * cells_.size())
    Rehash(cells_.size());
  Place(entry, Hash(keyOf_(*entry)));
}

void ZRBXmapFileIndex::AddAll(const std::vector<ZRBXmapFile*>& entries) {
  Reserve(live_ + entries.size());
  if (4 * (occupied_ + entries.size()) > 3 * cells_.size()) Rehash(cells_.size());
  std::vector<std::uint32_t> hashes;
  hashes.reserve(entries.size());
  for (const ZRBXmapFile* entry : entries) hashes.push_back(Hash(keyOf_(*entry)));
  constexpr std::size_t kAhead = 16;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i + kAhead < entries.size()) __builtin_prefetch(&cells_[hashes[i + kAhead] & Mask()], 1);
    Place(entries[i], hashes[i]);
  }
}

bool ZRBXmapFileIndex::Remove(const ZRBXmapFile* entry) {
  if (cells_.empty()) return false;
  const std::uint32_t hash = Hash(keyOf_(*entry));
  for (std::size_t at = hash & Mask(); cells_[at].state != kEmpty; at = (at + 1) & Mask()) {
    if (cells_[at].state == kUsed && cells_[at].entry == entry) {
      cells_[at].state = kRemoved;
      cells_[at].entry = nullptr;
      --live_;
      return true;
    }
  }
  return false;
}

void ZRBXmapFileIndex::Clear() {
  cells_.clear();
  live_ = 0;
  occupied_ = 0;
}
