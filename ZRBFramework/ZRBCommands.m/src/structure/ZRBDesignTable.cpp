#include "ZRBDesignTable.h"

#include <sys/stat.h>

#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "ZRBAfxBase.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kLastKnownModTime = "ZRB_LAST_KNOWN_MOD_TIME";

CADListValCADUnicodeString& OldNames() {
  static CADListValCADUnicodeString names;
  return names;
}
CADListValCADUnicodeString& NewNames() {
  static CADListValCADUnicodeString names;
  return names;
}

CADUnicodeString SlotText(const ZRBObject& object, const char* name) {
  return CADUnicodeString(object.GetSlotValue(name).str());
}

void SetIfNotEmpty(ZRBObject& object, const char* slot, const CADUnicodeString& value) {
  if (!value.IsEmpty()) object.SetSlotValue(slot, value.str());
}

// The file name up to its last ".": "sizes" for "sizes.txt", the whole name when it has no dot.
CADUnicodeString StemOf(const CADUnicodeString& fileName) {
  const int dot = fileName.FindLast(".");
  return dot <= 0 ? fileName : fileName.SubString(0, dot);
}

bool IsSameFile(const CADUnicodeString& a, const CADUnicodeString& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0) return false;
  return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool FileIsThere(const CADUnicodeString& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// The identity slots of a PDM answer for a table.
struct TableAnswer {
  CADUnicodeString obid, dbName, className, location, changeable;
  explicit TableAnswer(const ZRBObject& answer)
      : obid(SlotText(answer, "OBID")),
        dbName(SlotText(answer, "DB_NAME")),
        className(SlotText(answer, "CLASSNAME")),
        location(SlotText(answer, "EXTERNAL_LOCATION")),
        changeable(SlotText(answer, "CHANGEABLE")) {
    if (obid.IsEmpty()) obid = SlotText(answer, "ID");
  }
  void StoreIdentity(const CADUnicodeString& path) const {
    GlobPropertyManager.SetFileProperty(path, "ZRB_TYPE", "DESIGNTABLE");
    if (!obid.IsEmpty()) GlobPropertyManager.SetFileProperty(path, "ZRB_OBID", obid);
    if (!dbName.IsEmpty()) GlobPropertyManager.SetFileProperty(path, "ZRB_DB_NAME", dbName);
    if (!className.IsEmpty()) GlobPropertyManager.SetFileProperty(path, "ZRB_CLASSNAME", className);
    if (!changeable.IsEmpty()) GlobPropertyManager.SetFileProperty(path, "ZRB_CHANGEABLE", changeable);
  }
};

}  // namespace

// --- lifecycle

ZRBDesignTable::ZRBDesignTable(const CADIDesignTable_var& table, const CADIProduct_var& product,
                               const CADUnicodeString& path)
    : table_(table), product_(product), path_(path) {}

ZRBDesignTable::ZRBDesignTable(const ZRBDesignTable* source) {
  if (!source) return;
  table_ = source->table_;
  product_ = source->product_;
  path_ = source->path_;
}

ZRBDesignTable::~ZRBDesignTable() = default;

ZRBDesignTable* ZRBDesignTable::Create(const CADIDesignTable_var& table, const CADIProduct_var& product) {
  if (!table) return nullptr;
  CADUnicodeString path;
  if (FAILED(table->GetSheetPath(path)) || path.IsEmpty()) return nullptr;
  return new ZRBDesignTable(table, product, path);
}

int ZRBDesignTable::IsAKindOf(std::string_view className) const { return className == "ZRBDesignTable" ? 1 : 0; }

// --- listing

CADRawCollPV* ZRBDesignTable::GetTables(const CADIProduct_var& product, unsigned char mode) {
  ZRB_TRACE("ZRBDesignTable::GetTables");
  // The second PDM client keeps no design tables.
  if (!ZRBPropertyManager::Globals().GetGlobalProperty("ZRB_MESSAGE_PREFIX").IsEmpty()) return nullptr;
  if (!(ZRBInfoUtil::GetUseDesignTables() == "ON")) {
    ZRB_DEBUG("Do not use DT");
    return nullptr;
  }
  if (!product) return nullptr;
  if (mode == 1) {
    CADVar<CADAutoProduct> automation(product.get());
    if (automation) automation->ApplyWorkMode(2);
  }
  if (mode == 0 && GlobPropertyManager.GetProductType(product) == "CADProduct" &&
      g_ZRBConfig.CompareEnvVar("ZRB_USE_DTFORPRODUCT", "ON", 1) != 1)
    return nullptr;
  CADIParmPublisher_var publisher(product.get());
  if (!publisher) return nullptr;
  ZRB_TRACE_OK();
  return GetTables(publisher, CADUnicodeString(), CADUnicodeString(), product, mode);
}

CADRawCollPV* ZRBDesignTable::GetTables(const CADIDrawing_var& drawing) {
  CADIParmPublisher_var publisher(drawing.get());
  if (!publisher) return nullptr;
  return GetTables(publisher, CADUnicodeString(), CADUnicodeString(), CADIProduct_var(), 0);
}

CADRawCollPV* ZRBDesignTable::GetTables(const CADIParmPublisher_var& publisher, const CADUnicodeString&,
                                        const CADUnicodeString&, const CADIProduct_var& product, const unsigned char) {
  if (!publisher) return nullptr;
  auto* list = new CADRawCollPV();
  CADListValCADBaseUnknown_var tables;
  if (FAILED(publisher->ListDesignTables(tables))) return list;
  for (int i = 1; i <= tables.Size(); ++i) {
    CADIDesignTable_var table(tables[i].get());
    ZRBDesignTable* wrapper = Create(table, product);
    if (!wrapper) {
      ZRB_DEBUG("new ZRBDesignTable throws: TableNoPath");
      continue;
    }
    list->Append(wrapper);
  }
  return list;
}

void ZRBDesignTable::DestroyList(CADRawCollPV* list) {
  if (!list) return;
  for (int i = list->Size(); i >= 1; --i) {
    if (auto* wrapper = static_cast<ZRBDesignTable*>((*list)[i])) wrapper->Release();
  }
  list->RemoveAll();
  delete list;
}

// --- renaming lists

const CADListValCADUnicodeString& ZRBDesignTable::GetListOfOldNames() { return OldNames(); }
const CADListValCADUnicodeString& ZRBDesignTable::GetListOfNewNames() { return NewNames(); }

void ZRBDesignTable::ResetRenamingLists() {
  OldNames() = CADListValCADUnicodeString();
  NewNames() = CADListValCADUnicodeString();
}

// --- the table and its file

HRESULT ZRBDesignTable::GetFullPath(CADUnicodeString& path) {
  SetPathForMultiUsage();
  path = path_;
  return path_.IsEmpty() ? E_FAIL : S_OK;
}

HRESULT ZRBDesignTable::GetName(CADUnicodeString& name) const {
  name = "";
  if (!table_) return E_FAIL;
  if (FAILED(table_->GetName(name))) return E_FAIL;
  // The alias is what the designer sees and calls the table.
  CADUnicodeString alias;
  if (SUCCEEDED(table_->GetAlias(alias)) && !alias.IsEmpty()) name = alias;
  return S_OK;
}

HRESULT ZRBDesignTable::SetName(const CADUnicodeString& name) { return table_ ? table_->SetName(name) : E_FAIL; }

HRESULT ZRBDesignTable::FileExists(unsigned char* exists) {
  if (!exists) return E_FAIL;
  SetPathForMultiUsage();
  *exists = !path_.IsEmpty() && FileIsThere(path_) ? 1 : 0;
  return S_OK;
}

HRESULT ZRBDesignTable::IsActivated(unsigned char* active) const {
  if (!active) return E_FAIL;
  *active = 0;
  CADBoolean on = 0;
  if (!table_ || FAILED(table_->IsActivated(on))) return E_FAIL;
  *active = on ? 1 : 0;
  return S_OK;
}

HRESULT ZRBDesignTable::SetFullPath(const CADUnicodeString& path) {
  ZRB_TRACE("ZRBDesignTable::SetFullPath");
  if (path == path_) {
    ZRB_TRACE_OK();
    return S_OK;
  }
  if (path.IsEmpty() || !table_) return E_FAIL;
  if (FAILED(ZRBFileUtil::CopyFile(path_, path))) {
    ZRB_DEBUG("ZRB: cannot copy design table %s to %s", path_.c_str(), path.c_str());
    return E_FAIL;
  }
  if (FAILED(table_->SetSheetPath(path))) return E_FAIL;
  // Recorded only now: a failed copy must not send other wrappers of the file to a copy that does not exist.
  const CADUnicodeString oldName = ZRBFileUtil::GetFileNameFromPath(path_);
  const CADUnicodeString newName = ZRBFileUtil::GetFileNameFromPath(path);
  if (!(oldName == newName) && OldNames().Locate(oldName) == 0) {
    OldNames().Append(oldName);
    NewNames().Append(newName);
  }
  path_ = path;
  GlobPropertyManager.SetFileProperty(path_, kLastKnownModTime, "");
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBDesignTable::SetPathForMultiUsage() {
  const int index = OldNames().Locate(ZRBFileUtil::GetFileNameFromPath(path_));
  if (index == 0) return S_OK;
  CADUnicodeString directory;
  if (!ExchangeMap(directory)) return E_FAIL;
  return SetFullPath(ZRBAfxBase::MakePath(directory, NewNames()[index]));
}

HRESULT ZRBDesignTable::MoveToXMap() {
  ZRB_TRACE("ZRBDesignTable::MoveToXMap");
  CADUnicodeString directory;
  if (path_.IsEmpty() || !ExchangeMap(directory)) return E_FAIL;
  const CADUnicodeString target = ZRBAfxBase::MakePath(directory, ZRBFileUtil::GetFileNameFromPath(path_));
  if (!(target == path_) && FileIsThere(target) && !IsSameFile(target, path_) && IsSheetOfAnotherTable(target)) {
    // Two different tables with one file name: copying would make one drive the other's part.
    ZRB_DEBUG("ZRB: %s is the design table of another table in the session; %s is not copied there", target.c_str(),
              path_.c_str());
    return E_FAIL;
  }
  const HRESULT result = SetFullPath(target);
  if (SUCCEEDED(result)) ZRB_TRACE_OK();
  return result;
}

// --- save state

HRESULT ZRBDesignTable::WasLoadedByZrb(unsigned char* loaded) {
  if (!loaded) return E_FAIL;
  *loaded = 0;
  SetPathForMultiUsage();
  CADUnicodeString directory;
  if (!ExchangeMap(directory)) return S_OK;
  const CADUnicodeString inXMap = ZRBAfxBase::MakePath(directory, ZRBFileUtil::GetFileNameFromPath(path_));
  *loaded = GlobPropertyManager.IsFilePropertySet(inXMap, "ZRB_OBID") ? 1 : 0;
  if (*loaded && !(inXMap == path_)) MoveToXMap();
  return S_OK;
}

HRESULT ZRBDesignTable::Dirty(unsigned char* dirty) const {
  if (!dirty) return E_FAIL;
  *dirty = 1;
  CADUnicodeString time;
  if (FAILED(ZRBFileUtil::GetLastModificationFromFile(path_, time))) return E_FAIL;
  *dirty = GlobPropertyManager.GetFileProperty(path_, kLastKnownModTime) == time ? 0 : 1;
  return S_OK;
}

HRESULT ZRBDesignTable::GetState(int& state) {
  state = 0;
  unsigned char loaded = 0;
  WasLoadedByZrb(&loaded);
  state = loaded ? kStateKnownToPdm : kStateNew;
  unsigned char dirty = 0;
  const HRESULT result = Dirty(&dirty);
  if (SUCCEEDED(result) && dirty) state |= kStateDirty;
  return result;
}

// --- PDM identity on the table file

HRESULT ZRBDesignTable::UpdateZRBProperties(const ZRBObject* answer) {
  ZRB_TRACE("ZRBDesignTable::UpdateZRBProperties");
  if (!answer) return E_FAIL;
  const TableAnswer identity(*answer);
  CADUnicodeString directory;
  if (!ExchangeMap(directory)) return E_FAIL;
  CADUnicodeString location;
  if (!identity.location.IsEmpty()) {
    const CADUnicodeString name = SafeFileName(identity.location);
    if (name.IsEmpty()) {
      ZRB_DEBUG("ZRB: refusing the design-table file name from the PDM: %s", identity.location.c_str());
      return E_FAIL;
    }
    location = ZRBAfxBase::MakePath(directory, name);
  }
  if (!location.IsEmpty() && !(location == path_)) {
    if (FAILED(SetFullPath(location))) return E_FAIL;
    GlobPropertyManager.SetFileProperty(location, "ZRB_TABLE_CREATED", "1");
  }
  identity.StoreIdentity(path_);
  CADUnicodeString time;
  if (FAILED(ZRBFileUtil::GetLastModificationFromFile(path_, time))) {
    ZRB_DEBUG("Failed to get timestamp from file: %s", path_.c_str());
    return E_FAIL;
  }
  GlobPropertyManager.SetFileProperty(path_, kLastKnownModTime, time);
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBDesignTable::SetZRBProperties(const ZRBObject* answer, const int force) {
  ZRB_TRACE("ZRBDesignTable::SetZRBProperties");
  if (!answer) return E_FAIL;
  const TableAnswer identity(*answer);
  if (identity.location.IsEmpty()) return E_FAIL;
  identity.StoreIdentity(identity.location);
  CADUnicodeString time;
  if (FAILED(ZRBFileUtil::GetLastModificationFromFile(identity.location, time))) {
    ZRB_DEBUG("Failed to get timestamp from file: %s", identity.location.c_str());
    return E_FAIL;
  }
  if (force || !GlobPropertyManager.IsFilePropertySet(identity.location, kLastKnownModTime))
    GlobPropertyManager.SetFileProperty(identity.location, kLastKnownModTime, time);
  ZRB_TRACE_OK();
  return S_OK;
}

// --- request slots

HRESULT ZRBDesignTable::GetZRBObject(ZRBObject* object) {
  ZRB_TRACE("ZRBDesignTable::GetZRBObject");
  if (!object) return E_FAIL;
  SetPathForMultiUsage();
  unsigned char loaded = 0;
  WasLoadedByZrb(&loaded);
  unsigned char exists = 0;
  if (FAILED(FileExists(&exists)) || !exists) {
    ZRB_DEBUG("File %s does not exist", path_.c_str());
    return E_FAIL;
  }
  const CADUnicodeString fileName = ZRBFileUtil::GetFileNameFromPath(path_);
  object->SetSlotValue("EXTERNAL_LOCATION", path_.str());
  object->SetSlotValue("PATH", path_.str());
  SetIfNotEmpty(*object, "PARTNUMBER", StemOf(fileName));
  CADUnicodeString name;
  GetName(name);
  SetIfNotEmpty(*object, "NAME", name);
  const CADUnicodeString changeable = GlobPropertyManager.GetFileProperty(path_, "ZRB_CHANGEABLE");
  SetIfNotEmpty(*object, "OBID", GlobPropertyManager.GetFileProperty(path_, "ZRB_OBID"));
  SetIfNotEmpty(*object, "DB_NAME", GlobPropertyManager.GetFileProperty(path_, "ZRB_DB_NAME"));
  CADUnicodeString className = GlobPropertyManager.GetFileProperty(path_, "ZRB_CLASSNAME");
  if (className.IsEmpty()) className = "x0GenDes";
  object->SetSlotValue("CLASSNAME", className.str());
  SetIfNotEmpty(*object, "CHANGEABLE", changeable);
  unsigned char dirty = 1;
  Dirty(&dirty);
  if (loaded && !(changeable == "0") && dirty &&
      !(GlobPropertyManager.GetFileProperty(path_, "ZRB_SYNC_SKIP_TAB_UPDATE") == "1"))
    object->SetSlotValue("UPD_GEOMETRY", "1");
  unsigned char active = 0;
  if (SUCCEEDED(IsActivated(&active))) object->SetSlotValue("ACTIVATED", active ? "1" : "0");
  ZRB_TRACE_OK();
  return S_OK;
}

HRESULT ZRBDesignTable::AddNodeValidationDataToZRBObject(ZRBObject* object) {
  if (!object) return E_FAIL;
  GetZRBObject(object);
  if (product_ && GlobPropertyManager.GetProductType(product_) == "CADPart") {
    const auto ref = [this](const char* name) { return GlobPropertyManager.GetReferenceProperty(product_, name); };
    object->SetSlotValue("CADPART_STD_PART", ref("ZRB_IS_STD_PART").str());
    object->SetSlotValue("CADPART_PARTNUMBER", GetPartNumberOfFather().str());
    CADUnicodeString obid, dbName;
    if (GlobPropertyManager.IsArchiveRoot(product_)) {
      const CADUnicodeString file = GlobPropertyManager.GetProductFullPath(product_);
      obid = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_OBID");
      dbName = GlobPropertyManager.GetFileProperty(file, "ZRB_ARCHIVE_DB_NAME");
    } else {
      obid = ref("ZRB_OBID");
      dbName = ref("ZRB_DB_NAME");
    }
    object->SetSlotValue("CADPART_OBID", obid.str());
    object->SetSlotValue("CADPART_DB_NAME", dbName.str());
    object->SetSlotValue("CADPART_CHANGEABLE", ref("ZRB_CHANGEABLE").str());
    CADUnicodeString className = ref("ZRB_CLASSNAME");
    if (className.IsEmpty()) className = "x0CadPrt";
    object->SetSlotValue("CADPART_CLASSNAME", className.str());
    const CADUnicodeString category = ref("ZRB_PART_CGY_FOR_VALIDATE");
    if (obid.IsEmpty() && !category.IsEmpty()) object->SetSlotValue("CADPART_PARTCATEGORY", category.str());
  }
  object->SetSlotValue("VALIDATE_SUCCESS", "0");
  return S_OK;
}

HRESULT ZRBDesignTable::AddArchiveValidationDataToZRBObject(ZRBObject* object) {
  if (!object) return E_FAIL;
  unsigned char exists = 0;
  const HRESULT tested = FileExists(&exists);
  object->SetSlotValue("FILE_EXISTS", SUCCEEDED(tested) && exists ? "1" : "0");
  const CADUnicodeString fileName = ZRBFileUtil::GetFileNameFromPath(path_);
  object->SetSlotValue("FILENAME", fileName.str());
  SetIfNotEmpty(*object, "PARTNUMBER", StemOf(fileName));
  CADUnicodeString name;
  GetName(name);
  SetIfNotEmpty(*object, "NAME", name);
  unsigned char active = 0;
  IsActivated(&active);
  object->SetSlotValue("ACTIVATED", active ? "1" : "0");
  return S_OK;
}

// --- products around the table

CADUnicodeString ZRBDesignTable::GetPartNumberOfFather() const {
  return product_ ? product_->GetPartNumber() : CADUnicodeString();
}

CADIProduct_var ZRBDesignTable::GetDirectFatherProduct() { return product_; }

CADIProduct_var ZRBDesignTable::GetProductOfTCPart() {
  if (!product_) return nullptr;
  if (GlobPropertyManager.GetProductType(product_) == "CADProduct") return product_;
  if (GlobPropertyManager.GetReferenceProperty(product_, "ZRB_ISCOMPONENT") == "1" ||
      GlobPropertyManager.GetReferenceProperty(product_, "ZRB_CREATECOMPONENT") == "1")
    return product_;
  return ZRBPSNTreeUtil::GetFatherProduct(product_);
}

CADUnicodeString ZRBDesignTable::GetPartNumberOfAssembly() {
  CADIProduct_var product = GetProductOfTCPart();
  return product ? product->GetPartNumber() : CADUnicodeString();
}

// --- helpers

int ZRBDesignTable::IsTableInList(const CADUnicodeString& listText, const CADUnicodeString& fileName) {
  if (fileName.IsEmpty() || listText.IsEmpty()) return 0;
  ZRBObject parser;
  parser.SetSlotValue("ZRB_DESIGNTABLES", listText.str());
  const CADListValCADString items = parser.GetSlotValueList("ZRB_DESIGNTABLES");
  for (int i = 1; i <= items.Size(); ++i)
    if (items[i].str() == fileName.str()) return 1;
  return 0;
}

CADUnicodeString ZRBDesignTable::SafeFileName(const CADUnicodeString& pdmName) {
  std::string_view name = pdmName.view();
  const std::size_t separator = name.find_last_of("/\\");
  if (separator != std::string_view::npos) name = name.substr(separator + 1);
  if (name.empty() || name == "." || name == "..") return CADUnicodeString();
  return CADUnicodeString(name);
}

int ZRBDesignTable::ExchangeMap(CADUnicodeString& directory) { return ZRBAfxBase::GetXMap(directory); }

bool ZRBDesignTable::IsSheetOfAnotherTable(const CADUnicodeString& path) const {
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (int d = 1; d <= documents.Size(); ++d) {
    CADDocument* document = dynamic_cast<CADDocument*>(documents[d].get());
    if (!document) continue;
    CADIParmPublisher_var publishers[2] = {CADIParmPublisher_var(document), CADIParmPublisher_var()};
    if (CADIProduct_var root = document->GetRootProduct()) publishers[1] = CADIParmPublisher_var(root.get());
    for (const CADIParmPublisher_var& publisher : publishers) {
      CADListValCADBaseUnknown_var tables;
      if (!publisher || FAILED(publisher->ListDesignTables(tables))) continue;
      for (int t = 1; t <= tables.Size(); ++t) {
        CADIDesignTable_var table(tables[t].get());
        if (!table || table.IsEqual(table_)) continue;
        CADUnicodeString sheet;
        if (FAILED(table->GetSheetPath(sheet))) continue;
        int equal = 0;
        ZRBAfxBase::CompareFullPath(sheet, path, equal);
        if (equal) return true;
      }
    }
  }
  return false;
}
