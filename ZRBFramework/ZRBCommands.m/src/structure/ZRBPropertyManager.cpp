#include "ZRBPropertyManager.h"

#include <unistd.h>

#include "CADSettingRepository.h"
#include "ZRBFileUtil.h"
#include "ZRBTrace.h"

using Kind = ZRBPropertyManagerNames::Kind;

namespace {
int ReadCacheActivation() {
  int value = 0;
  if (FAILED(CADSettingRepository::ReadSetting("CADCache", "CacheActivation", &value))) {
    ZRB_DEBUG("ZRB: Could not get CacheActivation, assuming Cache Activation is off");
    return 0;
  }
  if (value == 1) {
    ZRB_DEBUG("ZRB: CacheActivation is on");
    return 1;
  }
  ZRB_DEBUG("ZRB: CacheActivation is off");
  return 0;
}
}  // namespace

ZRBPropertyManager GlobPropertyManager;

namespace {

// A document copied for the PDM carries the modification time it had when copied, so that a later save can tell
// whether it changed since. The file layer knows nothing of properties; it tells whoever listens.
void RecordCopiedFile(const CADUnicodeString& copy, const CADUnicodeString& modificationTime) {
  GlobPropertyManager.SetFileProperty(copy, "ZRB_LAST_KNOWN_MOD_TIME", modificationTime);
}

[[maybe_unused]] const bool kCopiesRecorded = (ZRBFileUtil::SetCopyRecorder(&RecordCopiedFile), true);

}  // namespace

// ---------------------------------------------------------------- lifecycle

ZRBPropertyManager::ZRBPropertyManager() { ZRBPropertyContainer::WatchName("ZRB_ARCHIVE_CONTENT_FILE_NAME"); }
ZRBPropertyManager::~ZRBPropertyManager() = default;

void ZRBPropertyManager::Load() {
  loaded_ = true;
  processId_ = static_cast<unsigned long>(::getpid());
  cacheActivation_ = ReadCacheActivation();
}

void ZRBPropertyManager::EnsureLoaded() {
  if (!loaded_) Load();
}

unsigned long ZRBPropertyManager::GetProcessId() {
  EnsureLoaded();
  return processId_;
}

int ZRBPropertyManager::IsCacheActivationOn() {
  EnsureLoaded();
  return cacheActivation_;
}

void ZRBPropertyManager::SetCacheActivationForTests(int on) {
  EnsureLoaded();
  cacheActivation_ = on ? 1 : 0;
}

void ZRBPropertyManager::Unload() { Initialize(); }

void ZRBPropertyManager::ResetForTests() {
  Initialize();
  store_ = ZRBPropertyManagerStore();
  Globals().Reset();
  processId_ = 0;
  cacheActivation_ = 0;
  loaded_ = false;
}

void ZRBPropertyManager::Initialize() {
  store_.Clear();
  globalRead_.reset();
}

// ---------------------------------------------------------------- reference properties

void ZRBPropertyManager::SetReferenceProperty(const CADUnicodeString& partNumber, const CADUnicodeString& name,
                                              const CADUnicodeString& value) {
  names_.Check(Kind::Reference, "Set", name);
  if (partNumber.IsEmpty()) {
    // An empty key would create a record no scan can find again.
    ZRB_DEBUG("ZRB: SetReferenceProperty: empty part number, '%s' not stored", name.c_str());
    return;
  }
  store_.FindOrCreateReference(partNumber)->SetProperty(name, value);
}

CADUnicodeString ZRBPropertyManager::GetReferenceProperty(const CADUnicodeString& partNumber,
                                                          const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "Get", name);
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

CADUnicodeString ZRBPropertyManager::GetReferencePropertyByFullPath(const CADUnicodeString& fullPath,
                                                                    const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "Get", name);
  ZRBPropertyReference* record = store_.FindReferenceByFullPath(fullPath);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeleteReferenceProperty(const CADUnicodeString& partNumber, const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "Delete", name);
  if (ZRBPropertyReference* record = store_.FindReference(partNumber)) record->DeleteProperty(name);
}

void ZRBPropertyManager::DeleteReferenceProperties(const CADListValCADUnicodeString& names) {
  for (const auto& name : names) {
    names_.Check(Kind::Reference, "Delete", name);
    for (const auto& record : store_.References()) record->DeleteProperty(name);
  }
}

void ZRBPropertyManager::DeleteAllReferencePropsForReference(const CADUnicodeString& partNumber) {
  if (ZRBPropertyReference* record = store_.FindReference(partNumber)) record->RemoveAllProperties();
}

int ZRBPropertyManager::IsReferencePropertySet(const CADUnicodeString& partNumber, const CADUnicodeString& name) {
  names_.Check(Kind::Reference, "IsSet", name);
  ZRBPropertyReference* record = store_.FindReference(partNumber);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllReferenceProperties(const CADUnicodeString& partNumber,
                                                   CADListValCADUnicodeString& names,
                                                   CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyReference* record = store_.FindReference(partNumber)) record->GetAllProperties(names, values);
}

// ---------------------------------------------------------------- file properties

void ZRBPropertyManager::SetFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name,
                                         const CADUnicodeString& value) {
  names_.Check(Kind::File, "Set", name);
  if (fullPath.IsEmpty()) {
    ZRB_DEBUG("ZRB: SetFileProperty: empty path, '%s' not stored", name.c_str());
    return;
  }
  store_.FindOrCreateFile(fullPath)->SetProperty(name, value);
}

CADUnicodeString ZRBPropertyManager::GetFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name) {
  names_.Check(Kind::File, "Get", name);
  ZRBPropertyFile* record = store_.FindFile(fullPath);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeleteFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name) {
  names_.Check(Kind::File, "Delete", name);
  if (ZRBPropertyFile* record = store_.FindFile(fullPath)) record->DeleteProperty(name);
}

void ZRBPropertyManager::DeleteFileProperties(const CADListValCADUnicodeString& names) {
  for (const auto& name : names) {
    names_.Check(Kind::File, "Delete", name);
    for (const auto& record : store_.Files()) record->DeleteProperty(name);
  }
}

int ZRBPropertyManager::IsFilePropertySet(const CADUnicodeString& fullPath, const CADUnicodeString& name) {
  names_.Check(Kind::File, "IsSet", name);
  ZRBPropertyFile* record = store_.FindFile(fullPath);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllFileProperties(const CADUnicodeString& fullPath, CADListValCADUnicodeString& names,
                                              CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyFile* record = store_.FindFile(fullPath)) record->GetAllProperties(names, values);
}

// ---------------------------------------------------------------- instance properties

ZRBPropertyInstance* ZRBPropertyManager::FindInstance(const CADUnicodeString& parentPartNumber,
                                                      const CADUnicodeString& childInstanceName) const {
  ZRBPropertyReference* parent = store_.FindReference(parentPartNumber);
  return parent ? store_.FindInstance(parent->GetId(), childInstanceName) : nullptr;
}

ZRBPropertyInstance* ZRBPropertyManager::FindOrCreateInstance(const CADUnicodeString& parentPartNumber,
                                                              const CADUnicodeString& childInstanceName) {
  if (parentPartNumber.IsEmpty()) return nullptr;
  ZRBPropertyReference* parent = store_.FindOrCreateReference(parentPartNumber);
  return store_.FindOrCreateInstance(parent->GetId(), childInstanceName);
}

void ZRBPropertyManager::SetInstanceProperty(const CADUnicodeString& parentPartNumber,
                                             const CADUnicodeString& childInstanceName, const CADUnicodeString& name,
                                             const CADUnicodeString& value) {
  names_.Check(Kind::Instance, "Set", name);
  if (ZRBPropertyInstance* record = FindOrCreateInstance(parentPartNumber, childInstanceName))
    record->SetProperty(name, value);
  else
    ZRB_DEBUG("ZRB: SetInstanceProperty: empty parent part number, '%s' not stored", name.c_str());
}

CADUnicodeString ZRBPropertyManager::GetInstanceProperty(const CADUnicodeString& parentPartNumber,
                                                         const CADUnicodeString& childInstanceName,
                                                         const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "Get", name);
  ZRBPropertyInstance* record = FindInstance(parentPartNumber, childInstanceName);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeleteInstanceProperty(const CADUnicodeString& parentPartNumber,
                                                const CADUnicodeString& childInstanceName,
                                                const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "Delete", name);
  if (ZRBPropertyInstance* record = FindInstance(parentPartNumber, childInstanceName)) record->DeleteProperty(name);
}

int ZRBPropertyManager::IsInstancePropertySet(const CADUnicodeString& parentPartNumber,
                                              const CADUnicodeString& childInstanceName, const CADUnicodeString& name) {
  names_.Check(Kind::Instance, "IsSet", name);
  ZRBPropertyInstance* record = FindInstance(parentPartNumber, childInstanceName);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllInstanceProperties(const CADUnicodeString& parentPartNumber,
                                                  const CADUnicodeString& childInstanceName,
                                                  CADListValCADUnicodeString& names,
                                                  CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyInstance* record = FindInstance(parentPartNumber, childInstanceName))
    record->GetAllProperties(names, values);
}

void ZRBPropertyManager::DeleteAllInstancePropsForInstance(const CADUnicodeString& parentPartNumber,
                                                           const CADUnicodeString& childInstanceName) {
  store_.RemoveInstance(FindInstance(parentPartNumber, childInstanceName));
}

// ---------------------------------------------------------------- path-to-root properties

void ZRBPropertyManager::SetPathToRootProperty(const CADUnicodeString& pathToRoot, const CADUnicodeString& name,
                                               const CADUnicodeString& value) {
  names_.Check(Kind::PathToRoot, "Set", name);
  if (pathToRoot.IsEmpty()) {
    ZRB_DEBUG("ZRB: SetPathToRootProperty: empty path, '%s' not stored", name.c_str());
    return;
  }
  store_.FindOrCreatePathToRoot(pathToRoot)->SetProperty(name, value);
}

CADUnicodeString ZRBPropertyManager::GetPathToRootProperty(const CADUnicodeString& pathToRoot,
                                                           const CADUnicodeString& name) {
  names_.Check(Kind::PathToRoot, "Get", name);
  ZRBPropertyPathToRoot* record = store_.FindPathToRoot(pathToRoot);
  return record ? record->GetProperty(name) : CADUnicodeString();
}

void ZRBPropertyManager::DeletePathToRootProperty(const CADUnicodeString& pathToRoot, const CADUnicodeString& name) {
  names_.Check(Kind::PathToRoot, "Delete", name);
  if (ZRBPropertyPathToRoot* record = store_.FindPathToRoot(pathToRoot)) record->DeleteProperty(name);
}

int ZRBPropertyManager::IsPathToRootPropertySet(const CADUnicodeString& pathToRoot, const CADUnicodeString& name) {
  names_.Check(Kind::PathToRoot, "IsSet", name);
  ZRBPropertyPathToRoot* record = store_.FindPathToRoot(pathToRoot);
  return record ? record->IsPropertySet(name) : 0;
}

void ZRBPropertyManager::GetAllPathToRootProperties(const CADUnicodeString& pathToRoot,
                                                    CADListValCADUnicodeString& names,
                                                    CADListValCADUnicodeString& values) {
  names.RemoveAll();
  values.RemoveAll();
  if (ZRBPropertyPathToRoot* record = store_.FindPathToRoot(pathToRoot)) record->GetAllProperties(names, values);
}
