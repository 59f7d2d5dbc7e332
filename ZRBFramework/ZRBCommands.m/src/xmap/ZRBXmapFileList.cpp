#include "ZRBXmapFileList.h"

#include <algorithm>

bool ZRBXmapFileList::Less(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  const int order = ZRBXmapFile::Compare(a, b);
  if (order != 0) return order < 0;
  return a->listSeq_ < b->listSeq_;
}

ZRBXmapFile* ZRBXmapFileList::Insert(std::unique_ptr<ZRBXmapFile> entry) {
  ZRBXmapFile* raw = Place(std::move(entry));
  if (!raw) return nullptr;
  byFileName_.Add(raw);
  bySortKey_.Add(raw);
  return raw;
}

void ZRBXmapFileList::InsertAll(std::vector<std::unique_ptr<ZRBXmapFile>> entries) {
  std::vector<ZRBXmapFile*> placed;
  placed.reserve(entries.size());
  slots_.reserve(slots_.size() + entries.size());
  for (auto& entry : entries)
    if (ZRBXmapFile* raw = Place(std::move(entry))) placed.push_back(raw);
  byFileName_.AddAll(placed);
  bySortKey_.AddAll(placed);
}

ZRBXmapFile* ZRBXmapFileList::Place(std::unique_ptr<ZRBXmapFile> entry) {
  if (!entry) return nullptr;
  entry->listSeq_ = ++nextSeq_;
  ZRBXmapFile* raw = entry.get();
  // Entries coming in order (reading a content file, putting a sorted list
  // back) keep the slots sorted.
  if (sorted_ && !slots_.empty() && slots_.back() && !Less(slots_.back().get(), raw)) sorted_ = false;
  if (sorted_ && !slots_.empty() && !slots_.back()) sorted_ = false;
  raw->listSlot_ = slots_.size();
  slots_.push_back(std::move(entry));
  ++live_;
  return raw;
}

void ZRBXmapFileList::Reserve(std::size_t n) {
  slots_.reserve(n);
  byFileName_.Reserve(n);
  bySortKey_.Reserve(n);
}

void ZRBXmapFileList::Erase(const ZRBXmapFile* entry) {
  // A pointer the list does not hold may point anywhere: its slot number is
  // only trusted when that slot holds this very entry.
  if (!entry || entry->listSlot_ >= slots_.size() || slots_[entry->listSlot_].get() != entry) return;
  byFileName_.Remove(entry);
  bySortKey_.Remove(entry);
  slots_[entry->listSlot_].reset();
  ++erased_;
  --live_;
}

void ZRBXmapFileList::Clear() {
  slots_.clear();
  byFileName_.Clear();
  bySortKey_.Clear();
  sorted_ = true;
  erased_ = 0;
  live_ = 0;
}

void ZRBXmapFileList::Settle() const {
  if (!erased_ && sorted_) return;
  if (erased_) {
    slots_.erase(std::remove(slots_.begin(), slots_.end(), nullptr), slots_.end());
    erased_ = 0;
  }
  if (!sorted_) {
    std::sort(slots_.begin(), slots_.end(), [](const auto& a, const auto& b) { return Less(a.get(), b.get()); });
    sorted_ = true;
  }
  for (std::size_t i = 0; i < slots_.size(); ++i) slots_[i]->listSlot_ = i;
}

std::vector<std::unique_ptr<ZRBXmapFile>> ZRBXmapFileList::TakeAll() {
  Settle();
  std::vector<std::unique_ptr<ZRBXmapFile>> all = std::move(slots_);
  Clear();
  return all;
}

ZRBXmapFile* ZRBXmapFileList::First(const ZRBXmapFileIndex& index, std::string_view key) {
  ZRBXmapFile* first = nullptr;
  index.ForEach(key, [&first](ZRBXmapFile* entry) {
    if (!first || Less(entry, first)) first = entry;
  });
  return first;
}

ZRBXmapFile* ZRBXmapFileList::FindByFileName(std::string_view fileName) const { return First(byFileName_, fileName); }

ZRBXmapFile* ZRBXmapFileList::FindBySortKey(std::string_view sortKey) const { return First(bySortKey_, sortKey); }

std::vector<ZRBXmapFile*> ZRBXmapFileList::InOrder() const {
  Settle();
  std::vector<ZRBXmapFile*> order;
  order.reserve(slots_.size());
  for (const auto& slot : slots_) order.push_back(slot.get());
  return order;
}
