#include "ZRBPropertyManagerStore.h"

#include <algorithm>
#include <climits>
#include <unordered_set>
#include <utility>

#include "ZRBAfxBase.h"

namespace {
std::string_view FileNamePart(std::string_view path) {
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The first record of a bucket (store order) that passes `matches`.
template <class Record, class Matches>
Record* First(const ZRBPropertyRecordIndex::Bucket<Record>* bucket, Matches matches) {
  if (!bucket) return nullptr;
  for (Record* record : *bucket)
    if (matches(*record)) return record;
  return nullptr;
}
}  // namespace

// ---------------------------------------------------------------- lifecycle

ZRBPropertyManagerStore::ZRBPropertyManagerStore() : index_(std::make_unique<ZRBPropertyRecordIndex>()) {}

ZRBPropertyManagerStore::ZRBPropertyManagerStore(ZRBPropertyManagerStore&& other) : ZRBPropertyManagerStore() {
  Swap(other);
}

ZRBPropertyManagerStore& ZRBPropertyManagerStore::operator=(ZRBPropertyManagerStore&& other) noexcept {
  Swap(other);
  return *this;
}

ZRBPropertyManagerStore::~ZRBPropertyManagerStore() = default;

void ZRBPropertyManagerStore::Swap(ZRBPropertyManagerStore& other) noexcept {
  std::swap(lastId_, other.lastId_);
  std::swap(index_, other.index_);
  std::swap(instances_, other.instances_);
  std::swap(references_, other.references_);
  std::swap(files_, other.files_);
  std::swap(pathToRoots_, other.pathToRoots_);
}

void ZRBPropertyManagerStore::Clear() {
  index_->Clear();
  instances_ = {};
  references_ = {};
  files_ = {};
  pathToRoots_ = {};
}

// ---------------------------------------------------------------- slots

template <class Record>
Record* ZRBPropertyManagerStore::Append(Records<Record>& records, std::unique_ptr<Record> record) {
  Record* added = record.get();
  records.slots.push_back(std::move(record));
  try {
    records.slotOf.emplace(added, records.slots.size() - 1);
    index_->Enter(*added);
  } catch (...) {  // out of memory: the store stays as it was
    records.slotOf.erase(added);
    records.slots.pop_back();
    throw;
  }
  return added;
}

// A pointer this store does not hold (nullptr, already removed, another
// store's) changes nothing and is never dereferenced.
template <class Record>
void ZRBPropertyManagerStore::Remove(Records<Record>& records, const Record* record) {
  auto found = records.slotOf.find(record);
  if (found == records.slotOf.end()) return;
  std::unique_ptr<Record>& slot = records.slots[found->second];
  records.slotOf.erase(found);
  index_->Leave(*slot);
  slot.reset();
  ++records.holes;
}

template <class Record>
const std::vector<std::unique_ptr<Record>>& ZRBPropertyManagerStore::Compacted(Records<Record>& records) {
  if (records.holes == 0) return records.slots;
  std::erase(records.slots, nullptr);
  for (std::size_t slot = 0; slot < records.slots.size(); ++slot) records.slotOf[records.slots[slot].get()] = slot;
  records.holes = 0;
  return records.slots;
}

const std::vector<std::unique_ptr<ZRBPropertyReference>>& ZRBPropertyManagerStore::References() const {
  return Compacted(references_);
}
const std::vector<std::unique_ptr<ZRBPropertyFile>>& ZRBPropertyManagerStore::Files() const {
  return Compacted(files_);
}
const std::vector<std::unique_ptr<ZRBPropertyInstance>>& ZRBPropertyManagerStore::Instances() const {
  return Compacted(instances_);
}
const std::vector<std::unique_ptr<ZRBPropertyPathToRoot>>& ZRBPropertyManagerStore::PathToRoots() const {
  return Compacted(pathToRoots_);
}

// ---------------------------------------------------------------- Ids

int ZRBPropertyManagerStore::NewId() {
  if (lastId_ < INT_MAX) return ++lastId_;
  // Only a file can bring the counter here; counting on would overflow.
  std::unordered_set<int> used;
  for (const auto& r : references_.slots)
    if (r) used.insert(r->GetId());
  for (const auto& i : instances_.slots) {
    if (!i) continue;
    used.insert(i->GetParentId());
    used.insert(i->GetChildId());
  }
  int id = 1;
  while (used.count(id)) ++id;
  return id;
}

// ---------------------------------------------------------------- references

ZRBPropertyReference* ZRBPropertyManagerStore::FindReference(const CADUnicodeString& partNumber) const {
  if (partNumber.IsEmpty()) return nullptr;
  std::uint64_t hash = ZRBPropertyContainer::HashKey(partNumber.view());
  return First(index_->ReferencesByPartNumber(hash),
               [&](const ZRBPropertyReference& r) { return r.HasPartNumber(partNumber, hash); });
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceById(int id) const {
  return First(index_->ReferencesById(id), [&](const ZRBPropertyReference& r) { return r.GetId() == id; });
}

// Two spellings of one file always share the file-name part exactly, so its
// hash narrows the search without changing what matches.
ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceByFullPath(const CADUnicodeString& fullPath) const {
  if (fullPath.IsEmpty()) return nullptr;
  return First(index_->ReferencesByFileName(ZRBPropertyFile::HashOfPath(fullPath)),
               [&](const ZRBPropertyReference& r) { return SamePath(r.GetFullPath(), fullPath); });
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceByFileName(const CADUnicodeString& fileName) const {
  std::string_view wanted = FileNamePart(fileName.view());
  if (wanted.empty()) return nullptr;
  return First(index_->ReferencesByFileName(ZRBPropertyContainer::HashKey(wanted)),
               [&](const ZRBPropertyReference& r) { return FileNamePart(r.GetFullPath().view()) == wanted; });
}

ZRBPropertyReference* ZRBPropertyManagerStore::CreateReference(const CADUnicodeString& partNumber) {
  auto record = std::make_unique<ZRBPropertyReference>(NewId());
  record->SetPartNumber(partNumber);
  return Append(references_, std::move(record));
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindOrCreateReference(const CADUnicodeString& partNumber) {
  ZRBPropertyReference* found = FindReference(partNumber);
  return found ? found : CreateReference(partNumber);
}

void ZRBPropertyManagerStore::RemoveReference(const ZRBPropertyReference* reference) { Remove(references_, reference); }

// ---------------------------------------------------------------- files

ZRBPropertyFile* ZRBPropertyManagerStore::FindFile(const CADUnicodeString& fullPath) const {
  return First(index_->FilesByFileName(ZRBPropertyFile::HashOfPath(fullPath)),
               [&](const ZRBPropertyFile& f) { return SamePath(f.GetFullPath(), fullPath); });
}

ZRBPropertyFile* ZRBPropertyManagerStore::FindOrCreateFile(const CADUnicodeString& fullPath) {
  if (ZRBPropertyFile* found = FindFile(fullPath)) return found;
  return Append(files_, std::make_unique<ZRBPropertyFile>(fullPath));
}

void ZRBPropertyManagerStore::RemoveFile(const ZRBPropertyFile* file) { Remove(files_, file); }

// ---------------------------------------------------------------- instances

ZRBPropertyInstance* ZRBPropertyManagerStore::FindInstance(int parentId,
                                                           const CADUnicodeString& childInstanceName) const {
  std::uint64_t hash = ZRBPropertyContainer::HashKey(childInstanceName.view());
  return First(index_->InstancesByKey(ZRBPropertyInstance::KeyHash(parentId, hash)),
               [&](const ZRBPropertyInstance& i) { return i.HasKey(parentId, childInstanceName, hash); });
}

ZRBPropertyInstance* ZRBPropertyManagerStore::FindOrCreateInstance(int parentId,
                                                                   const CADUnicodeString& childInstanceName) {
  if (ZRBPropertyInstance* found = FindInstance(parentId, childInstanceName)) return found;
  return Append(instances_, std::make_unique<ZRBPropertyInstance>(parentId, childInstanceName));
}

void ZRBPropertyManagerStore::RemoveInstance(const ZRBPropertyInstance* instance) { Remove(instances_, instance); }

void ZRBPropertyManagerStore::RepointChildIds(int fromId, int toId) {
  if (fromId == toId) return;
  for (ZRBPropertyInstance* i : index_->InstancesWithChild(fromId)) i->SetChildId(toId);
}

void ZRBPropertyManagerStore::RepointParentIds(int fromId, int toId) {
  if (fromId == toId) return;  // every instance would find itself
  std::vector<ZRBPropertyInstance*> moving = index_->InstancesWithParent(fromId);
  // In store order: of two same-named instances only the first moves.
  std::sort(moving.begin(), moving.end(), [](const ZRBPropertyInstance* a, const ZRBPropertyInstance* b) {
    return ZRBPropertyRecordIndex::StoreOrder(*a) < ZRBPropertyRecordIndex::StoreOrder(*b);
  });
  for (ZRBPropertyInstance* i : moving) {
    // An instance the target already knows keeps the target's record.
    if (!FindInstance(toId, i->GetChildInstanceName())) i->SetParentId(toId);
  }
}

// ---------------------------------------------------------------- paths to root

ZRBPropertyPathToRoot* ZRBPropertyManagerStore::FindPathToRoot(const CADUnicodeString& path) const {
  std::uint64_t hash = ZRBPropertyContainer::HashKey(path.view());
  return First(index_->PathToRootsByPath(hash), [&](const ZRBPropertyPathToRoot& p) { return p.HasKey(path, hash); });
}

ZRBPropertyPathToRoot* ZRBPropertyManagerStore::FindOrCreatePathToRoot(const CADUnicodeString& path) {
  if (ZRBPropertyPathToRoot* found = FindPathToRoot(path)) return found;
  return Append(pathToRoots_, std::make_unique<ZRBPropertyPathToRoot>(path));
}

void ZRBPropertyManagerStore::RemovePathToRoot(const ZRBPropertyPathToRoot* record) { Remove(pathToRoots_, record); }

// ---------------------------------------------------------------- records read from a file

void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyReference> record) {
  if (record) Append(references_, std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyFile> record) {
  if (record) Append(files_, std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyInstance> record) {
  if (record) Append(instances_, std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyPathToRoot> record) {
  if (record) Append(pathToRoots_, std::move(record));
}

bool ZRBPropertyManagerStore::SamePath(const CADUnicodeString& a, const CADUnicodeString& b) {
  if (a == b) return true;
  int equal = 0;
  ZRBAfxBase::CompareFullPath(a, b, equal);
  return equal != 0;
}
