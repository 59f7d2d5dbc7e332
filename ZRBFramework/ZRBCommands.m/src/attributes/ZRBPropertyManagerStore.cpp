#include "ZRBPropertyManagerStore.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "ZRBAfx.h"

namespace {
template <class Record>
void RemoveRecord(std::vector<std::unique_ptr<Record>>& records, const Record* record) {
  auto it = std::find_if(records.begin(), records.end(), [&](const auto& r) { return r.get() == record; });
  if (it != records.end()) records.erase(it);
}

std::string_view FileNamePart(std::string_view path) {
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
}  // namespace

int ZRBPropertyManagerStore::NewId() {
  if (lastId_ < INT_MAX) return ++lastId_;
  // Only a file can bring the counter here; counting on would overflow.
  std::unordered_set<int> used;
  for (const auto& r : references_) used.insert(r->GetId());
  for (const auto& i : instances_) {
    used.insert(i->GetParentId());
    used.insert(i->GetChildId());
  }
  int id = 1;
  while (used.count(id)) ++id;
  return id;
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReference(const CADUnicodeString& partNumber) const {
  if (partNumber.IsEmpty()) return nullptr;
  std::uint64_t hash = ZRBPropertyContainer::HashKey(partNumber.view());
  for (const auto& r : references_)
    if (r->HasPartNumber(partNumber, hash)) return r.get();
  return nullptr;
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceById(int id) const {
  for (const auto& r : references_)
    if (r->GetId() == id) return r.get();
  return nullptr;
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceByFullPath(const CADUnicodeString& fullPath) const {
  if (fullPath.IsEmpty()) return nullptr;
  for (const auto& r : references_)
    if (SamePath(r->GetFullPath(), fullPath)) return r.get();
  return nullptr;
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindReferenceByFileName(const CADUnicodeString& fileName) const {
  std::string_view wanted = FileNamePart(fileName.view());
  if (wanted.empty()) return nullptr;
  for (const auto& r : references_)
    if (FileNamePart(r->GetFullPath().view()) == wanted) return r.get();
  return nullptr;
}

ZRBPropertyReference* ZRBPropertyManagerStore::CreateReference(const CADUnicodeString& partNumber) {
  auto record = std::make_unique<ZRBPropertyReference>(NewId());
  record->SetPartNumber(partNumber);
  references_.push_back(std::move(record));
  return references_.back().get();
}

ZRBPropertyReference* ZRBPropertyManagerStore::FindOrCreateReference(const CADUnicodeString& partNumber) {
  ZRBPropertyReference* found = FindReference(partNumber);
  return found ? found : CreateReference(partNumber);
}

void ZRBPropertyManagerStore::RemoveReference(const ZRBPropertyReference* reference) {
  RemoveRecord(references_, reference);
}

ZRBPropertyFile* ZRBPropertyManagerStore::FindFile(const CADUnicodeString& fullPath) const {
  std::uint64_t hash = ZRBPropertyFile::HashOfPath(fullPath);
  for (const auto& f : files_)
    if (f->GetKeyHash() == hash && SamePath(f->GetFullPath(), fullPath)) return f.get();
  return nullptr;
}

ZRBPropertyFile* ZRBPropertyManagerStore::FindOrCreateFile(const CADUnicodeString& fullPath) {
  if (ZRBPropertyFile* found = FindFile(fullPath)) return found;
  files_.push_back(std::make_unique<ZRBPropertyFile>(fullPath));
  return files_.back().get();
}

void ZRBPropertyManagerStore::RemoveFile(const ZRBPropertyFile* file) { RemoveRecord(files_, file); }

ZRBPropertyInstance* ZRBPropertyManagerStore::FindInstance(int parentId,
                                                           const CADUnicodeString& childInstanceName) const {
  std::uint64_t hash = ZRBPropertyContainer::HashKey(childInstanceName.view());
  for (const auto& i : instances_)
    if (i->HasKey(parentId, childInstanceName, hash)) return i.get();
  return nullptr;
}

ZRBPropertyInstance* ZRBPropertyManagerStore::FindOrCreateInstance(int parentId,
                                                                   const CADUnicodeString& childInstanceName) {
  if (ZRBPropertyInstance* found = FindInstance(parentId, childInstanceName)) return found;
  instances_.push_back(std::make_unique<ZRBPropertyInstance>(parentId, childInstanceName));
  return instances_.back().get();
}

void ZRBPropertyManagerStore::RemoveInstance(const ZRBPropertyInstance* instance) {
  RemoveRecord(instances_, instance);
}

void ZRBPropertyManagerStore::RepointChildIds(int fromId, int toId) {
  for (const auto& i : instances_)
    if (i->GetChildId() == fromId) i->SetChildId(toId);
}

void ZRBPropertyManagerStore::RepointParentIds(int fromId, int toId) {
  for (const auto& i : instances_) {
    if (i->GetParentId() != fromId) continue;
    // An instance the target already knows keeps the target's record.
    if (!FindInstance(toId, i->GetChildInstanceName())) i->SetParentId(toId);
  }
}

ZRBPropertyPathToRoot* ZRBPropertyManagerStore::FindPathToRoot(const CADUnicodeString& path) const {
  std::uint64_t hash = ZRBPropertyContainer::HashKey(path.view());
  for (const auto& p : pathToRoots_)
    if (p->HasKey(path, hash)) return p.get();
  return nullptr;
}

ZRBPropertyPathToRoot* ZRBPropertyManagerStore::FindOrCreatePathToRoot(const CADUnicodeString& path) {
  if (ZRBPropertyPathToRoot* found = FindPathToRoot(path)) return found;
  pathToRoots_.push_back(std::make_unique<ZRBPropertyPathToRoot>(path));
  return pathToRoots_.back().get();
}

void ZRBPropertyManagerStore::RemovePathToRoot(const ZRBPropertyPathToRoot* record) {
  RemoveRecord(pathToRoots_, record);
}

void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyReference> record) {
  if (record) references_.push_back(std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyFile> record) {
  if (record) files_.push_back(std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyInstance> record) {
  if (record) instances_.push_back(std::move(record));
}
void ZRBPropertyManagerStore::Add(std::unique_ptr<ZRBPropertyPathToRoot> record) {
  if (record) pathToRoots_.push_back(std::move(record));
}

void ZRBPropertyManagerStore::Clear() {
  instances_.clear();
  references_.clear();
  files_.clear();
  pathToRoots_.clear();
}

bool ZRBPropertyManagerStore::SamePath(const CADUnicodeString& a, const CADUnicodeString& b) {
  if (a == b) return true;
  int equal = 0;
  ZRBAfx::CompareFullPath(a, b, equal);
  return equal != 0;
}
