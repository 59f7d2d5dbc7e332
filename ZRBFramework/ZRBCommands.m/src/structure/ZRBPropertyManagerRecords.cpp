// Record-level operations of the property manager: lookups, merging,
// re-keying, and the black-box and archive queries.
#include "ZRBPropertyManager.h"

#include <utility>

#include "ZRBTrace.h"

using Field = ZRBPropertyReference::Field;

// ---------------------------------------------------------------- lookups

ZRBPropertyReference* ZRBPropertyManager::GetReferenceObject(const CADUnicodeString& partNumber) const {
  return store_.FindReference(partNumber);
}

ZRBPropertyReference* ZRBPropertyManager::GetReferenceObject(int id) const { return store_.FindReferenceById(id); }

ZRBPropertyReference* ZRBPropertyManager::GetReferenceObjectByFullPath(const CADUnicodeString& fullPath) const {
  return store_.FindReferenceByFullPath(fullPath);
}

ZRBPropertyFile* ZRBPropertyManager::GetFileObject(const CADUnicodeString& fullPath) const {
  return store_.FindFile(fullPath);
}

ZRBPropertyInstance* ZRBPropertyManager::GetInstanceObject(const CADUnicodeString& parentPartNumber,
                                                           const CADUnicodeString& childInstanceName) const {
  return FindInstance(parentPartNumber, childInstanceName);
}

ZRBPropertyPathToRoot* ZRBPropertyManager::GetPathToRootObject(const CADUnicodeString& pathToRoot) const {
  return store_.FindPathToRoot(pathToRoot);
}

// ---------------------------------------------------------------- merging and re-keying

namespace {
bool Conflicts(const CADUnicodeString& a, const CADUnicodeString& b) {
  return !a.IsEmpty() && !b.IsEmpty() && !(a == b);
}
}  // namespace

int ZRBPropertyManager::MergeReferences(ZRBPropertyReference& first, ZRBPropertyReference& second) {
  ZRB_TRACE("ZRBPropertyManager::MergeReferences");
  if (first.GetId() == second.GetId() || &first == &second) {
    ZRB_DEBUG("ZRB: MergeReferences: Cannot merge the same Reference");
    return 0;
  }
  // The display list is taken over but not checked: it only labels the others.
  static constexpr Field kChecked[] = {
      Field::PartNumber,        Field::Nomenclature,          Field::Revision,
      Field::Definition,        Field::Description,           Field::ContainerIdsList,
      Field::ClientIdsList,     Field::FeatureTypesList,      Field::FeatureAttrsList,
      Field::FeatureValuesList, Field::UserDefPropertiesList, Field::UserDefPropValuesList,
      Field::UserDefPropDelList};
  const CADUnicodeString& path1 = first.GetFullPath();
  const CADUnicodeString& path2 = second.GetFullPath();
  bool failed = !path1.IsEmpty() && !path2.IsEmpty() && !ZRBPropertyManagerStore::SamePath(path1, path2);
  if (failed) ZRB_DEBUG("ZRB: MergeReferences FullPath Check Failed '%s' != '%s'", path1.c_str(), path2.c_str());
  for (Field field : kChecked) {
    if (failed) break;
    if (Conflicts(first.Get(field), second.Get(field))) {
      ZRB_DEBUG("ZRB: MergeReferences %s Check Failed '%s' != '%s'",
                std::string(ZRBPropertyReference::FieldName(field)).c_str(), first.Get(field).c_str(),
                second.Get(field).c_str());
      failed = true;
    }
  }
  const auto& names = second.GetNames();
  const auto& values = second.GetValues();
  for (int i = 1; !failed && i <= names.Size(); ++i) {
    CADUnicodeString mine = first.GetProperty(names[i]);
    if (Conflicts(mine, values[i])) {
      ZRB_DEBUG("ZRB: MergeReferences Property Check for '%s' Failed '%s' != '%s'", names[i].c_str(), mine.c_str(),
                values[i].c_str());
      failed = true;
    }
  }
  if (failed) {
    ZRB_DEBUG("ZRB: Could not Merge property Object, check failed!");
    return 0;
  }

  for (Field field : ZRBPropertyReference::AllFields())
    if (!second.Get(field).IsEmpty()) first.Set(field, second.Get(field));
  for (int i = 1; i <= names.Size(); ++i)
    if (!values[i].IsEmpty()) first.SetProperty(names[i], values[i]);
  for (const auto& root : second.BlackBoxRoots())
    if (!first.BlackBoxRoots().Locate(root)) first.BlackBoxRoots().Append(root);
  for (const auto& item : std::as_const(second).BlackBoxItems())
    if (!first.BlackBoxItems().Locate(item)) first.BlackBoxItems().Append(item);
  // A record whose values still wait for its product stays waiting.
  if (!second.IsPropertySetFlag()) first.SetPropertySetFlag(false);

  int secondId = second.GetId();
  store_.RepointChildIds(secondId, first.GetId());
  store_.RepointParentIds(secondId, first.GetId());
  store_.RemoveReference(&second);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBPropertyManager::SetReferencePartNumber(const CADUnicodeString& oldPartNumber,
                                               const CADUnicodeString& newPartNumber) {
  if (oldPartNumber == newPartNumber || newPartNumber.IsEmpty()) return 1;
  ZRBPropertyReference* oldRecord = store_.FindReference(oldPartNumber);
  if (!oldRecord) return 1;
  ZRBPropertyReference* newRecord = store_.FindReference(newPartNumber);
  if (!newRecord) {
    oldRecord->SetPartNumber(newPartNumber);
    return 1;
  }
  // Both numbers have records: fold the old into the new (the new one keeps
  // its key); nothing changes when they disagree.
  CADUnicodeString keep = newRecord->GetPartNumber();
  oldRecord->SetPartNumber("");
  int merged = MergeReferences(*newRecord, *oldRecord);
  if (!merged) {
    oldRecord->SetPartNumber(oldPartNumber);
    return 0;
  }
  newRecord->SetPartNumber(keep);
  return 1;
}

void ZRBPropertyManager::UpdateAllReferenceProperties(const CADUnicodeString& fromPartNumber,
                                                      const CADUnicodeString& toPartNumber) {
  if (fromPartNumber == toPartNumber || toPartNumber.IsEmpty()) return;
  ZRBPropertyReference* from = store_.FindReference(fromPartNumber);
  if (!from) return;
  ZRBPropertyReference* to = store_.FindOrCreateReference(toPartNumber);
  const auto& names = from->GetNames();
  const auto& values = from->GetValues();
  for (int i = 1; i <= names.Size(); ++i) to->SetProperty(names[i], values[i]);
  from->RemoveAllProperties();
}

// ---------------------------------------------------------------- session upkeep queries

void ZRBPropertyManager::GetAllKnownFileNames(CADListValCADUnicodeString& fullPaths) const {
  for (const auto& file : store_.Files())
    if (!file->GetFullPath().IsEmpty() && !fullPaths.Locate(file->GetFullPath())) fullPaths.Append(file->GetFullPath());
  for (const auto& reference : store_.References())
    if (!reference->GetFullPath().IsEmpty() && !fullPaths.Locate(reference->GetFullPath()))
      fullPaths.Append(reference->GetFullPath());
}

void ZRBPropertyManager::GetAllKnownFilesAndModTimes(CADListValCADUnicodeString& fullPaths,
                                                     CADListValCADUnicodeString& times) const {
  for (const auto& file : store_.Files()) {
    CADUnicodeString time = file->GetProperty("ZRB_LAST_KNOWN_MOD_TIME");
    if (time.IsEmpty() || file->GetFullPath().IsEmpty()) continue;
    fullPaths.Append(file->GetFullPath());
    times.Append(time);
  }
}

void ZRBPropertyManager::GetAllReferencesForDT(CADListVal<ZRBPropertyReference*>& references) const {
  for (const auto& reference : store_.References())
    if (!reference->GetProperty("ZRB_DESIGNTABLES").IsEmpty()) references.Append(reference.get());
}

void ZRBPropertyManager::SetPropForSaveAs(const CADUnicodeString& oldPath, const CADUnicodeString& newPath) {
  if (oldPath.IsEmpty() || newPath.IsEmpty() || ZRBPropertyManagerStore::SamePath(oldPath, newPath)) return;
  if (ZRBPropertyFile* oldFile = store_.FindFile(oldPath)) {
    ZRBPropertyFile* newFile = store_.FindOrCreateFile(newPath);
    const auto& names = oldFile->GetNames();
    const auto& values = oldFile->GetValues();
    for (int i = 1; i <= names.Size(); ++i) newFile->SetProperty(names[i], values[i]);
  }
  for (const auto& reference : store_.References())
    if (ZRBPropertyManagerStore::SamePath(reference->GetFullPath(), oldPath)) reference->SetFullPath(newPath);
}

// ---------------------------------------------------------------- black boxes and archives

namespace {
void AppendOnce(CADListValCADUnicodeString& list, const CADUnicodeString& path) {
  for (const auto& entry : list)
    if (ZRBPropertyManagerStore::SamePath(entry, path)) return;
  list.Append(path);
}

bool Lists(const CADListValCADUnicodeString& list, const CADUnicodeString& path) {
  for (const auto& entry : list)
    if (ZRBPropertyManagerStore::SamePath(entry, path)) return true;
  return false;
}

void Replace(CADListValCADUnicodeString& list, const CADUnicodeString& from, const CADUnicodeString& to) {
  for (auto& entry : list)
    if (ZRBPropertyManagerStore::SamePath(entry, from)) entry = to;
}

void Remove(CADListValCADUnicodeString& list, const CADUnicodeString& path) {
  for (int i = list.Size(); i >= 1; --i)
    if (ZRBPropertyManagerStore::SamePath(list[i], path)) list.RemovePosition(i);
}
}  // namespace

void ZRBPropertyManager::AddBlackBoxRoot(const CADUnicodeString& parentPartNumber,
                                         const CADUnicodeString& rootFullPath) {
  if (parentPartNumber.IsEmpty() || rootFullPath.IsEmpty()) return;
  AppendOnce(store_.FindOrCreateReference(parentPartNumber)->BlackBoxRoots(), rootFullPath);
}

void ZRBPropertyManager::AddBlackBoxItem(const CADUnicodeString& parentPartNumber,
                                         const CADUnicodeString& itemFullPath) {
  if (parentPartNumber.IsEmpty() || itemFullPath.IsEmpty()) return;
  AppendOnce(store_.FindOrCreateReference(parentPartNumber)->BlackBoxItems(), itemFullPath);
}

int ZRBPropertyManager::IsBlackBoxRoot(const CADUnicodeString& parentPartNumber,
                                       const CADUnicodeString& fullPath) const {
  ZRBPropertyReference* parent = store_.FindReference(parentPartNumber);
  return parent && !fullPath.IsEmpty() && Lists(parent->BlackBoxRoots(), fullPath) ? 1 : 0;
}

int ZRBPropertyManager::IsBlackBoxItem(const CADUnicodeString& parentPartNumber,
                                       const CADUnicodeString& fullPath) const {
  ZRBPropertyReference* parent = store_.FindReference(parentPartNumber);
  return parent && !fullPath.IsEmpty() && Lists(std::as_const(*parent).BlackBoxItems(), fullPath) ? 1 : 0;
}

int ZRBPropertyManager::IsBlackBoxItem(const CADUnicodeString& fullPath) const {
  if (fullPath.IsEmpty() || !ZRBPropertyReference::AnyBlackBoxItemsPossible()) return 0;
  for (const auto& reference : store_.References())
    if (Lists(std::as_const(*reference).BlackBoxItems(), fullPath)) return 1;
  return 0;
}

int ZRBPropertyManager::HasBlackBoxAttached(const CADUnicodeString& partNumber) const {
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record && (record->BlackBoxRoots().Size() > 0 || std::as_const(*record).BlackBoxItems().Size() > 0) ? 1 : 0;
}

CADListValCADUnicodeString ZRBPropertyManager::GetBlackBoxRoots(const CADUnicodeString& partNumber) const {
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record ? record->BlackBoxRoots() : CADListValCADUnicodeString();
}

CADListValCADUnicodeString ZRBPropertyManager::GetBlackBoxItems(const CADUnicodeString& partNumber) const {
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record ? std::as_const(*record).BlackBoxItems() : CADListValCADUnicodeString();
}

void ZRBPropertyManager::RemoveAllBlackBoxRoots(const CADUnicodeString& partNumber) {
  if (ZRBPropertyReference* record = store_.FindReference(partNumber)) record->BlackBoxRoots().RemoveAll();
}

void ZRBPropertyManager::RemoveAllBlackBoxItems(const CADUnicodeString& partNumber) {
  if (ZRBPropertyReference* record = store_.FindReference(partNumber)) record->BlackBoxItems().RemoveAll();
}

void ZRBPropertyManager::BlackBoxContentChanged(const CADUnicodeString& oldPath, const CADUnicodeString& newPath) {
  if (oldPath.IsEmpty() || newPath.IsEmpty()) return;
  for (const auto& reference : store_.References()) {
    Replace(reference->BlackBoxRoots(), oldPath, newPath);
    Replace(reference->BlackBoxItems(), oldPath, newPath);
  }
}

void ZRBPropertyManager::BlackBoxContentRemoved(const CADUnicodeString& fullPath) {
  if (fullPath.IsEmpty()) return;
  for (const auto& reference : store_.References()) {
    Remove(reference->BlackBoxRoots(), fullPath);
    Remove(reference->BlackBoxItems(), fullPath);
  }
}

int ZRBPropertyManager::IsArchiveFileNameSet(const CADUnicodeString& fullPath) const {
  if (fullPath.IsEmpty()) return 0;
  for (const auto& file : store_.Files()) {
    CADUnicodeString archive = file->GetProperty("ZRB_ARCHIVE_FILE");
    if (!archive.IsEmpty() && ZRBPropertyManagerStore::SamePath(archive, fullPath)) return 1;
  }
  return 0;
}
