#include "ZRBPropertyRecordIndex.h"

namespace {
bool Earlier(const ZRBPropertyContainer* a, const ZRBPropertyContainer* b) {
  return ZRBPropertyRecordIndex::StoreOrder(*a) < ZRBPropertyRecordIndex::StoreOrder(*b);
}

template <class Map, class Key, class Record>
void Insert(Map& map, const Key& key, Record* record) {
  map[key].Insert(record, Earlier);
}

template <class Map, class Key, class Record>
void Erase(Map& map, const Key& key, Record* record) {
  auto found = map.find(key);
  if (found == map.end()) return;
  found->second.Erase(record, Earlier);
  // Empty buckets would pile up as keys change.
  if (found->second.empty()) map.erase(found);
}

template <class Map, class Key>
auto Lookup(const Map& map, const Key& key) -> const typename Map::mapped_type* {
  auto found = map.find(key);
  return found == map.end() ? nullptr : &found->second;
}

template <class SetMap, class Record>
void EraseFromSet(SetMap& map, int key, Record* record) {
  auto found = map.find(key);
  if (found == map.end()) return;
  found->second.erase(record);
  if (found->second.empty()) map.erase(found);
}

template <class SetMap>
auto Members(const SetMap& map, int key) {
  using Record = typename SetMap::mapped_type::value_type;
  auto found = map.find(key);
  return found == map.end() ? std::vector<Record>() : std::vector<Record>(found->second.begin(), found->second.end());
}
}  // namespace

void ZRBPropertyRecordIndex::Clear() {
  referencesByPartNumber_.clear();
  referencesById_.clear();
  referencesByFileName_.clear();
  filesByFileName_.clear();
  instancesByKey_.clear();
  instancesByParent_.clear();
  instancesByChild_.clear();
  pathToRootsByPath_.clear();
}

// An empty part number or full path is no key: such references are never
// found by it, and there may be very many of them.
void ZRBPropertyRecordIndex::Link(ZRBPropertyReference& record) {
  if (!record.GetPartNumber().IsEmpty()) Insert(referencesByPartNumber_, record.GetPartNumberHash(), &record);
  Insert(referencesById_, record.GetId(), &record);
  if (!record.GetFullPath().IsEmpty())
    Insert(referencesByFileName_, ZRBPropertyFile::HashOfPath(record.GetFullPath()), &record);
}

void ZRBPropertyRecordIndex::Unlink(ZRBPropertyReference& record) {
  if (!record.GetPartNumber().IsEmpty()) Erase(referencesByPartNumber_, record.GetPartNumberHash(), &record);
  Erase(referencesById_, record.GetId(), &record);
  if (!record.GetFullPath().IsEmpty())
    Erase(referencesByFileName_, ZRBPropertyFile::HashOfPath(record.GetFullPath()), &record);
}

void ZRBPropertyRecordIndex::Link(ZRBPropertyFile& record) { Insert(filesByFileName_, record.GetKeyHash(), &record); }

void ZRBPropertyRecordIndex::Unlink(ZRBPropertyFile& record) { Erase(filesByFileName_, record.GetKeyHash(), &record); }

void ZRBPropertyRecordIndex::Link(ZRBPropertyInstance& record) {
  Insert(instancesByKey_, record.GetKeyHash(), &record);
  instancesByParent_[record.GetParentId()].insert(&record);
  instancesByChild_[record.GetChildId()].insert(&record);
}

void ZRBPropertyRecordIndex::Unlink(ZRBPropertyInstance& record) {
  Erase(instancesByKey_, record.GetKeyHash(), &record);
  EraseFromSet(instancesByParent_, record.GetParentId(), &record);
  EraseFromSet(instancesByChild_, record.GetChildId(), &record);
}

void ZRBPropertyRecordIndex::Link(ZRBPropertyPathToRoot& record) {
  Insert(pathToRootsByPath_, record.GetKeyHash(), &record);
}

void ZRBPropertyRecordIndex::Unlink(ZRBPropertyPathToRoot& record) {
  Erase(pathToRootsByPath_, record.GetKeyHash(), &record);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyReference>* ZRBPropertyRecordIndex::ReferencesByPartNumber(
    std::uint64_t hash) const {
  return Lookup(referencesByPartNumber_, hash);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyReference>* ZRBPropertyRecordIndex::ReferencesById(int id) const {
  return Lookup(referencesById_, id);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyReference>* ZRBPropertyRecordIndex::ReferencesByFileName(
    std::uint64_t hash) const {
  return Lookup(referencesByFileName_, hash);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyFile>* ZRBPropertyRecordIndex::FilesByFileName(
    std::uint64_t hash) const {
  return Lookup(filesByFileName_, hash);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyInstance>* ZRBPropertyRecordIndex::InstancesByKey(
    std::uint64_t hash) const {
  return Lookup(instancesByKey_, hash);
}

const ZRBPropertyRecordIndex::Bucket<ZRBPropertyPathToRoot>* ZRBPropertyRecordIndex::PathToRootsByPath(
    std::uint64_t hash) const {
  return Lookup(pathToRootsByPath_, hash);
}

std::vector<ZRBPropertyInstance*> ZRBPropertyRecordIndex::InstancesWithParent(int parentId) const {
  return Members(instancesByParent_, parentId);
}

std::vector<ZRBPropertyInstance*> ZRBPropertyRecordIndex::InstancesWithChild(int childId) const {
  return Members(instancesByChild_, childId);
}
