// Hash buckets over the property manager's stored records, by every key the
// store looks records up by; kept current by the records' own key setters.
#pragma once

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ZRBPropertyFile.h"
#include "ZRBPropertyInstance.h"
#include "ZRBPropertyPathToRoot.h"
#include "ZRBPropertyReference.h"

// Owned by one ZRBPropertyManagerStore (on the heap, so the records' pointer
// to it survives moving the store); used on the host's user-interface thread.
// A bucket holds every stored record whose key has that hash, in store order;
// callers still compare the full key, so hash collisions cost time only.
class ZRBPropertyRecordIndex {
 public:
  // The records of one key hash in store order. Nearly every key has one
  // record, which is kept without a second allocation.
  template <class Record>
  class Bucket {
   public:
    Record* const* begin() const { return many_.empty() ? &one_ : many_.data(); }
    Record* const* end() const { return many_.empty() ? &one_ + (one_ ? 1 : 0) : many_.data() + many_.size(); }
    bool empty() const { return !one_ && many_.empty(); }
    // `earlier(a, b)`: a comes before b in store order.
    template <class Earlier>
    void Insert(Record* record, Earlier earlier) {
      if (empty()) {
        one_ = record;
        return;
      }
      if (many_.empty()) {
        many_.reserve(2);
        many_.push_back(one_);
        one_ = nullptr;
      }
      many_.insert(std::upper_bound(many_.begin(), many_.end(), record, earlier), record);
    }
    template <class Earlier>
    void Erase(Record* record, Earlier earlier) {
      if (many_.empty()) {
        if (one_ == record) one_ = nullptr;
        return;
      }
      auto it = std::lower_bound(many_.begin(), many_.end(), record, earlier);
      if (it != many_.end() && *it == record) many_.erase(it);
      if (many_.size() == 1) {
        one_ = many_.front();
        std::vector<Record*>().swap(many_);
      }
    }

   private:
    Record* one_ = nullptr;  // the only record, while `many_` is empty
    std::vector<Record*> many_;
  };

  // --- membership (the store only)
  // Files the record under its current keys; it is later than every record
  // entered before it.
  template <class Record>
  void Enter(Record& record) {
    record.storeIndex_ = this;
    record.storeOrder_ = ++lastOrder_;
    try {
      Link(record);
    } catch (...) {
      Leave(record);  // out of memory: no bucket may keep the record
      throw;
    }
  }
  template <class Record>
  void Leave(Record& record) {
    Unlink(record);
    record.storeIndex_ = nullptr;
  }
  // Forgets every record (they are being destroyed with the store's vectors).
  void Clear();

  // --- key changes: a stored record leaves its buckets for the time its key
  // setter runs and re-enters them under the new key.
  template <class Record>
  class KeyChange {
   public:
    KeyChange(Record& record, ZRBPropertyRecordIndex* index) : record_(record), index_(index) {
      if (index_) index_->Unlink(record_);
    }
    ~KeyChange() {
      if (index_) index_->Link(record_);
    }
    KeyChange(const KeyChange&) = delete;
    KeyChange& operator=(const KeyChange&) = delete;

   private:
    Record& record_;
    ZRBPropertyRecordIndex* index_;
  };

  // --- candidates (nullptr when none)
  // References by HashKey of a non-empty part number.
  const Bucket<ZRBPropertyReference>* ReferencesByPartNumber(std::uint64_t hash) const;
  const Bucket<ZRBPropertyReference>* ReferencesById(int id) const;
  // References with a non-empty full path, by ZRBPropertyFile::HashOfPath.
  const Bucket<ZRBPropertyReference>* ReferencesByFileName(std::uint64_t hash) const;
  const Bucket<ZRBPropertyFile>* FilesByFileName(std::uint64_t hash) const;
  // Instances by ZRBPropertyInstance::KeyHash.
  const Bucket<ZRBPropertyInstance>* InstancesByKey(std::uint64_t hash) const;
  const Bucket<ZRBPropertyPathToRoot>* PathToRootsByPath(std::uint64_t hash) const;
  // Instances by parent Id and by child Id, in no particular order.
  std::vector<ZRBPropertyInstance*> InstancesWithParent(int parentId) const;
  std::vector<ZRBPropertyInstance*> InstancesWithChild(int childId) const;

  static std::uint64_t StoreOrder(const ZRBPropertyContainer& record) { return record.storeOrder_; }

 private:
  void Link(ZRBPropertyReference& record);
  void Unlink(ZRBPropertyReference& record);
  void Link(ZRBPropertyFile& record);
  void Unlink(ZRBPropertyFile& record);
  void Link(ZRBPropertyInstance& record);
  void Unlink(ZRBPropertyInstance& record);
  void Link(ZRBPropertyPathToRoot& record);
  void Unlink(ZRBPropertyPathToRoot& record);

  template <class Key, class Record>
  using BucketMap = std::unordered_map<Key, Bucket<Record>>;
  template <class Record>
  using SetMap = std::unordered_map<int, std::unordered_set<Record*>>;

  std::uint64_t lastOrder_ = 0;
  BucketMap<std::uint64_t, ZRBPropertyReference> referencesByPartNumber_;
  BucketMap<int, ZRBPropertyReference> referencesById_;
  BucketMap<std::uint64_t, ZRBPropertyReference> referencesByFileName_;
  BucketMap<std::uint64_t, ZRBPropertyFile> filesByFileName_;
  BucketMap<std::uint64_t, ZRBPropertyInstance> instancesByKey_;
  SetMap<ZRBPropertyInstance> instancesByParent_;
  SetMap<ZRBPropertyInstance> instancesByChild_;
  BucketMap<std::uint64_t, ZRBPropertyPathToRoot> pathToRootsByPath_;
};
