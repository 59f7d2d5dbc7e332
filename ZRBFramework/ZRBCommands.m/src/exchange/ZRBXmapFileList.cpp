#include "ZRBXmapFileList.h"

#include <algorithm>

bool ZRBXmapFileList::Order::Less(const ZRBXmapFile* a, const ZRBXmapFile* b) {
  const int order = ZRBXmapFile::Compare(a, b);
  if (order != 0) return order < 0;
  return a->listSeq_ < b->listSeq_;
}

ZRBXmapFile* ZRBXmapFileList::Insert(std::unique_ptr<ZRBXmapFile> entry) {
  if (!entry) return nullptr;
  entry->listSeq_ = ++nextSeq_;
  ZRBXmapFile* raw = entry.get();
  entries_.insert(std::move(entry));
  byFileName_[raw->GetFileName().str()].push_back(raw);
  return raw;
}

void ZRBXmapFileList::Unindex(const ZRBXmapFile* entry) {
  auto found = byFileName_.find(entry->GetFileName().str());
  if (found == byFileName_.end()) return;
  std::vector<ZRBXmapFile*>& same = found->second;
  same.erase(std::remove(same.begin(), same.end(), entry), same.end());
  if (same.empty()) byFileName_.erase(found);
}

void ZRBXmapFileList::Erase(const ZRBXmapFile* entry) {
  if (!entry) return;
  auto found = entries_.find(entry);
  if (found == entries_.end() || found->get() != entry) return;
  Unindex(entry);
  entries_.erase(found);
}

void ZRBXmapFileList::Clear() {
  entries_.clear();
  byFileName_.clear();
}

std::vector<std::unique_ptr<ZRBXmapFile>> ZRBXmapFileList::TakeAll() {
  std::vector<std::unique_ptr<ZRBXmapFile>> all;
  all.reserve(entries_.size());
  while (!entries_.empty()) all.push_back(std::move(entries_.extract(entries_.begin()).value()));
  byFileName_.clear();
  return all;
}

ZRBXmapFile* ZRBXmapFileList::FindByFileName(std::string_view fileName) const {
  auto found = byFileName_.find(std::string(fileName));
  if (found == byFileName_.end() || found->second.empty()) return nullptr;
  return *std::min_element(found->second.begin(), found->second.end(), Order::Less);
}

ZRBXmapFile* ZRBXmapFileList::FindBySortKey(std::string_view sortKey) const {
  // A probe that sorts before every entry of that key.
  ZRBXmapFile probe;
  probe.sortKey_ = CADString(sortKey);
  probe.listSeq_ = 0;
  auto found = entries_.lower_bound(&probe);
  if (found == entries_.end() || (*found)->GetSortKey().view() != sortKey) return nullptr;
  return found->get();
}

std::vector<ZRBXmapFile*> ZRBXmapFileList::InOrder() const {
  std::vector<ZRBXmapFile*> order;
  order.reserve(entries_.size());
  for (const auto& entry : entries_) order.push_back(entry.get());
  return order;
}
