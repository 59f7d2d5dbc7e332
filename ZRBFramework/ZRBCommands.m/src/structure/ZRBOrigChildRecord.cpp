#include "ZRBOrigChildRecord.h"

#include "ZRBListText.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

const std::array<const char*, ZRBOrigChildRecord::kFieldCount> ZRBOrigChildRecord::kNames = {
    "ZRB_ORIGLOADCHILD_INSTANCES",       "ZRB_ORIGLOADCHILD_INST_INDEX", "ZRB_ORIGLOADCHILD_OBIDS",
    "ZRB_ORIGLOADCHILD_CLASSES",         "ZRB_ORIGLOADCHILD_RELS",       "ZRB_ORIGLOADCHILD_PARTNUMBERS",
    "ZRB_ORIGLOADCHILD_PRODTYPES",       "ZRB_ORIGLOADCHILD_DB_NAMES",   "ZRB_ORIGLOADCHILD_REL_DB_NAMES",
    "ZRB_ORIGLOADCHILD_INSTANCES_IN_ZRB"};
const std::array<const char*, ZRBOrigChildRecord::kFieldCount> ZRBOrigChildRecord::kRestoreNames = {
    "ZRB_RESTORE_REMOVED_INSTANCES",       "ZRB_RESTORE_REMOVED_INST_INDEX", "ZRB_RESTORE_REMOVED_OBIDS",
    "ZRB_RESTORE_REMOVED_CLASSES",         "ZRB_RESTORE_REMOVED_RELS",       "ZRB_RESTORE_REMOVED_PARTNUMBERS",
    "ZRB_RESTORE_REMOVED_PRODTYPES",       "ZRB_RESTORE_REMOVED_DB_NAMES",   "ZRB_RESTORE_REMOVED_REL_DB_NAMES",
    "ZRB_RESTORE_REMOVED_INSTANCES_IN_ZRB"};

namespace {

// Parsed records by the reference record they come from, valid while that record's revision is the same: a
// state computation reads the record of every father once per child.
struct CacheEntry {
  std::uint64_t revision = 0;
  std::shared_ptr<const ZRBOrigChildRecord> record;
};

std::unordered_map<const void*, CacheEntry>& Cache() {
  static std::unordered_map<const void*, CacheEntry> cache;
  return cache;
}

const CADUnicodeString& Empty() {
  static const CADUnicodeString empty;
  return empty;
}

}  // namespace

void ZRBOrigChildRecord::ResetCache() { Cache().clear(); }

std::shared_ptr<const ZRBOrigChildRecord> ZRBOrigChildRecord::Read(const CADIProduct_var& product) {
  static const auto kNone = std::make_shared<const ZRBOrigChildRecord>();
  if (!product) return kNone;
  const ZRBPropertyReference* reference = GlobPropertyManager.FindReferenceRecord(product);
  if (!reference || reference->Revision() == 0) return kNone;
  auto found = Cache().find(reference);
  if (found != Cache().end() && found->second.revision == reference->Revision()) return found->second.record;

  std::array<CADUnicodeString, kFieldCount> texts;
  for (int f = 0; f < kFieldCount; ++f) texts[f] = reference->GetProperty(kNames[f]);
  if (texts[Instances].IsEmpty()) {
    Cache()[reference] = CacheEntry{reference->Revision(), kNone};
    return kNone;
  }
  const std::string key = product->GetPartNumber().str();
  auto record = std::make_shared<ZRBOrigChildRecord>();
  for (int f = 0; f < kFieldCount; ++f) record->lists_[f] = ZRBListText::Split(texts[f].view());
  const int size = record->lists_[Instances].Size();
  bool aligned = true;
  for (const auto& list : record->lists_) aligned = aligned && list.Size() == size;
  if (!aligned) {
    ZRB_DEBUG("ZRB: load-time children of '%s' are unusable: their lists differ in length", key.c_str());
    for (auto& list : record->lists_) list.RemoveAll();
    record->unusable_ = true;
  } else {
    record->size_ = size;
    for (int i = 1; i <= size; ++i) record->byInstance_[record->lists_[Instances][i].str()].push_back(i);
  }
  Cache()[reference] = CacheEntry{reference->Revision(), record};
  return record;
}

const CADUnicodeString& ZRBOrigChildRecord::Get(Field field, int i) const {
  const auto& list = lists_[field];
  return i >= 1 && i <= list.Size() ? list[i] : Empty();
}

const std::vector<int>& ZRBOrigChildRecord::IndexesOfInstance(const CADUnicodeString& instanceName) const {
  static const std::vector<int> none;
  auto found = byInstance_.find(ZRBListText::RoundTrip(instanceName.view()).str());
  return found == byInstance_.end() ? none : found->second;
}

int ZRBOrigChildRecord::Count(Field field, const CADUnicodeString& value) const {
  int count = 0;
  for (const CADUnicodeString& item : lists_[field]) count += item == value ? 1 : 0;
  return count;
}

ZRBOrigChildRecord::Items ZRBOrigChildRecord::ItemsOf(const CADIProduct_var& parent, const CADIProduct_var& child) {
  Items items;
  if (!parent || !child) return items;
  CADUnicodeString instanceName;
  child->GetPrdInstanceName(instanceName);
  items[Instances] = instanceName;
  items[InstIndex] = GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_MATRIX_INDEX");
  items[Rels] = GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_RELATION");
  items[PartNumbers] = GlobPropertyManager.GetPartNumber(child, 0);
  items[RelDbNames] = GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_REL_DB_NAME");
  items[InZrb] = GlobPropertyManager.IsInstancePropertySet(parent, child, "ZRB_KEEP_AS_NEW")
                     ? CADUnicodeString()
                     : GlobPropertyManager.GetInstanceProperty(parent, child, "ZRB_INSTANCE_IN_ZRB");
  if (GlobPropertyManager.IsArchiveRoot(child)) {
    const CADUnicodeString file = GlobPropertyManager.GetProductFullPath(child);
    items[Obids] = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_OBID");
    items[Classes] = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_CLASSNAME");
    items[DbNames] = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_DB_NAME");
    items[ProdTypes] = "ZRBArchive";
  } else {
    items[Obids] = GlobPropertyManager.GetReferenceProperty(child, "ZRB_OBID");
    items[Classes] = GlobPropertyManager.GetReferenceProperty(child, "ZRB_CLASSNAME");
    items[DbNames] = GlobPropertyManager.GetReferenceProperty(child, "ZRB_DB_NAME");
    items[ProdTypes] = GlobPropertyManager.GetProductType(child);
  }
  return items;
}
