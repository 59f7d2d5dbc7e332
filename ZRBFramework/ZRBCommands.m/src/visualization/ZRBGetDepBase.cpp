#include "ZRBGetDepBase.h"

#include <charconv>
#include <map>
#include <string>
#include <vector>

#include "CADCSO.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBDocComponentReader.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadContext.h"
#include "ZRBReadState.h"
#include "ZRBStaleFileGuard.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kQueryFileName = "rfile.zrb";
constexpr const char* kGetFileName = "gfile.zrb";
constexpr const char* kVersion = "V8.8";

CADString Text(const CADUnicodeString& text) { return text.ConvertToString(); }

CADString SourceSlot(const char* name, int i) { return CADString(std::string(name) + "_" + std::to_string(i)); }

}  // namespace

// --- lists

void ZRBDependencyLists::Clear() {
  obids.RemoveAll();
  classNames.RemoveAll();
  dbNames.RemoveAll();
  files.RemoveAll();
}

void ZRBDependencyLists::RemovePosition(int i) {
  obids.RemovePosition(i);
  classNames.RemovePosition(i);
  dbNames.RemovePosition(i);
  files.RemovePosition(i);
}

// --- lifecycle

ZRBGetDepBase::ZRBGetDepBase(const char* name) : ZRBOneStepCommand(name) {}

void ZRBGetDepBase::CompareWithSession(const CADIProduct_var&, const ZRBDependencyLists&) {}

ZRBOneStepCommand::Outcome ZRBGetDepBase::Work() {
  ZRB_TRACE("ZRBGetDepBase::Work");
  const std::string name = GetName().str();
  if (!CADFrmEditor::GetCurrentEditor()) {
    ZRB_DEBUG("ZRB: GetCurrentEditor() failed");
    return Outcome::Stopped;
  }
  CADIProduct_var product;
  CADUnicodeString drawingPath;
  if (!GetSelectedObject(product, drawingPath)) {
    ZRB_DEBUG("%s failed!", name.c_str());
    return Outcome::Stopped;
  }
  int fromPdm = 0;
  if (product) {
    fromPdm = !GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").IsEmpty() ||
              ZRBInfoUtil::WasLoadedFromPdm(product.get());
  } else {
    ZRB_DEBUG("ZRB: %s: Drawing", name.c_str());
    fromPdm = ZRBInfoUtil::WasLoadedFromPdm(drawingPath);
  }
  if (!fromPdm) {
    ZRB_DEBUG("ZRB: %s: selected not loaded from PDM", name.c_str());
    ShowMessage(Catalog(), "PartNotFromPdm", kFailureStyle);
    return Outcome::Stopped;
  }

  ZRBObjectManager query;
  CADString itemKey;
  ZRBDependencyLists lists;
  if (FAILED(BuildQueryObjMgr(product, drawingPath, query)) || FAILED(GetInfoFromPdm(query, itemKey)) ||
      FAILED(GetListOfDependendFiles(query, itemKey, lists)))
    return Outcome::Failed;
  CompareWithSession(product, lists);
  // Nothing to fetch: the information says so, and no get round is made.
  if (lists.files.Size() == 0) return Outcome::Succeeded;
  ZRBObjectManager get;
  if (FAILED(BuildGetObjMgr(get, lists))) return Outcome::Failed;
  const HRESULT got = GetDependentFromPdm(get);
  ZRB_TRACE_OK();
  return SUCCEEDED(got) ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBGetDepBase::ShowOutcome(int success) {
  DisplayMessageCenter(success, successVariant_, BuildMessage(Catalog(), "UpdateOk"),
                       BuildMessage(Catalog(), "UpdateFailed"), 0);
}

// --- selection

int ZRBGetDepBase::GetSelectedObject(CADIProduct_var& product, CADUnicodeString& drawingPath) {
  product = nullptr;
  drawingPath = CADUnicodeString();
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  if (!editor) return 0;
  CADCSO* selection = editor->GetCSO();
  if (selection && selection->GetSize() == 1 && selection->GetElement(1)) {
    product = CADIProduct_var(selection->GetElement(1)->GetLeaf());
    if (product) return 1;
  }
  CADDocument* document = editor->GetDocument();
  if (document && document->GetType() == "CADDrawing") {
    drawingPath = document->StorageName();
    return drawingPath.IsEmpty() ? 0 : 1;
  }
  return 0;
}

// --- query

HRESULT ZRBGetDepBase::BuildQueryObjMgr(const CADIProduct_var& product, const CADUnicodeString& drawingPath,
                                        ZRBObjectManager& query) {
  CADUnicodeString obid, dbName, className;
  if (product) {
    const bool component = GlobPropertyManager.GetReferenceProperty(product, "ZRB_ISCOMPONENT") == "1";
    const char* prefix = component ? "ZRB_PRODUCT_" : "ZRB_";
    const auto property = [&](const char* name) {
      return GlobPropertyManager.GetReferenceProperty(product, CADUnicodeString(std::string(prefix) + name));
    };
    obid = property("OBID");
    dbName = property("DB_NAME");
    className = property("CLASSNAME");
  } else {
    obid = GlobPropertyManager.GetFileProperty(drawingPath, "ZRB_OBID");
    dbName = GlobPropertyManager.GetFileProperty(drawingPath, "ZRB_DB_NAME");
    className = GlobPropertyManager.GetFileProperty(drawingPath, "ZRB_CLASSNAME");
  }
  ZRBObject* item = query.CreateObject(CADString());
  ZRBObject* root = query.CreateObject("ROOT");
  ZRBObject* command = query.CreateObject("COMMAND");
  if (!item || !root || !command) return E_FAIL;
  item->SetSlotValue("ID", Text(obid));
  item->SetSlotValue("DB_NAME", Text(dbName));
  item->SetSlotValue("CLASSNAME", Text(className));
  root->SetSlotValue("ZRBVER", kVersion);
  root->SlotAppend("ITEMLIST", item->GetKey());
  return SetTcCommand(command) ? S_OK : E_FAIL;
}

HRESULT ZRBGetDepBase::GetInfoFromPdm(ZRBObjectManager& query, CADString& itemKey) {
  ZRB_TRACE("ZRBGetDepBase::GetInfoFromPdm");
  CADUnicodeString xmap;
  ZRBAfx::GetXMap(xmap);
  const CADUnicodeString requestPath = ZRBAfx::MakePath(xmap, CADUnicodeString(kQueryFileName));
  if (!query.Write(requestPath)) {
    ZRB_DEBUG("ZRB: writing %s failed", requestPath.c_str());
    return E_FAIL;
  }
  if (RunPdmAction(ZRBPdmAction::GetDependencyInfo,
                   ZRBPdmAction::Line(ZRBPdmAction::GetDependencyInfo, requestPath, xmap)) < 0)
    return E_FAIL;
  ZRBObjectManager answer;
  if (!ZRBPdmRequest::ReadAnswer(requestPath, answer)) return E_FAIL;
  query = std::move(answer);
  ZRBObject* root = query.GetObject("ROOT");
  if (!root || root->GetSlotValue("ACTION_SUCCESS") != "1") return E_FAIL;
  const CADListValCADString items = root->GetSlotValueList("ITEMLIST");
  if (items.Size() != 1 || !query.GetObject(items[1])) {
    ZRB_DEBUG("ZRB: the dependency answer names %d items, not one", items.Size());
    return E_FAIL;
  }
  itemKey = items[1];
  ZRB_DEBUG("ZRB: Returning object [%s]", itemKey.c_str());
  ZRB_TRACE_OK();
  return S_OK;
}

int ZRBGetDepBase::ParseSourceNumber(const CADString& text) {
  const std::string_view digits = text.view();
  int value = 0;
  if (digits.empty() || digits.front() < '0' || digits.front() > '9') return 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

HRESULT ZRBGetDepBase::GetListOfDependendFiles(ZRBObjectManager& answer, const CADString& itemKey,
                                               ZRBDependencyLists& lists) {
  lists.Clear();
  const ZRBObject* item = answer.GetObject(itemKey);
  const ZRBObject* info = item ? answer.GetObject(item->GetSlotValue("MODEL_INFO")) : nullptr;
  const int count = info ? ParseSourceNumber(info->GetSlotValue("SOURCE_NUMBER")) : 0;
  for (int i = 1; info && i <= count; ++i) {
    const CADString obid = info->GetSlotValue(SourceSlot("SOURCE_OBID", i));
    // The count is the PDM's claim; the slots are what it delivered.
    if (obid.IsEmpty()) {
      ZRB_DEBUG("ZRB: SOURCE_OBID_%d missing, %d of %d sources taken", i, i - 1, count);
      break;
    }
    ZRB_DEBUG("INDEX     [%d]", i);
    lists.obids.Append(CADUnicodeString(obid));
    lists.classNames.Append(CADUnicodeString(info->GetSlotValue(SourceSlot("SOURCE_CLASSNAME", i))));
    lists.dbNames.Append(CADUnicodeString(info->GetSlotValue(SourceSlot("SOURCE_DBNAME", i))));
    lists.files.Append(CADUnicodeString(info->GetSlotValue(SourceSlot("SOURCE_DOC", i))));
  }
  if (lists.obids.Size() == 0 && successVariant_ == 0) {
    GetInformations().Append(BuildMessage(Catalog(), "NoDependetFiles"));
    return S_OK;
  }
  return CheckVersionOfFilesToBeRequested(lists);
}

HRESULT ZRBGetDepBase::CheckVersionOfFilesToBeRequested(ZRBDependencyLists& lists) {
  const int n = lists.files.Size();
  if (lists.obids.Size() != n || lists.classNames.Size() != n || lists.dbNames.Size() != n) {
    lists.Clear();
    return E_FAIL;
  }
  // Names in the order of their first occurrence, so that the warnings come in list order.
  std::map<std::string, int> occurrences;
  std::vector<std::string> order;
  for (int i = 1; i <= n; ++i) {
    const std::string name = lists.files[i].str();
    if (occurrences[name]++ == 0) order.push_back(name);
  }
  for (const std::string& name : order) {
    if (occurrences[name] < 2) continue;
    CADUnicodeString parameter(name);
    GetWarnings().Append(BuildMessage("ZRBGetDepBase", "MultipleVersionsRequested", &parameter, 1));
    successVariant_ = 1;
  }
  for (int i = n; i >= 1; --i)
    if (occurrences[lists.files[i].str()] > 1) lists.RemovePosition(i);
  return S_OK;
}

// --- get

HRESULT ZRBGetDepBase::BuildGetObjMgr(ZRBObjectManager& get, const ZRBDependencyLists& lists) {
  ZRBObject* root = get.CreateObject("ROOT");
  ZRBObject* command = get.CreateObject("COMMAND");
  if (!root || !command) return E_FAIL;
  root->SetSlotValue("ZRBVER", kVersion);
  command->SetSlotValue("COMMAND", "REQUEST_GET_DEPENDENT");
  if (lists.files.Size() == 0) return E_FAIL;
  for (int i = 1; i <= lists.files.Size(); ++i) {
    ZRBObject* file = get.CreateObject(CADString());
    if (!file) return E_FAIL;
    file->SetSlotValue("ID", Text(lists.obids[i]));
    file->SetSlotValue("DB_NAME", Text(lists.dbNames[i]));
    file->SetSlotValue("CLASSNAME", Text(lists.classNames[i]));
    file->SetSlotValue("FILENAME", Text(lists.files[i]));
    root->SlotAppend("ITEMLIST", file->GetKey());
  }
  return S_OK;
}

HRESULT ZRBGetDepBase::GetDependentFromPdm(ZRBObjectManager& get) {
  ZRB_TRACE("ZRBGetDepBase::GetDependentFromPdm");
  // From here on every way out puts the stale files back: the guard's destructor does.
  ZRBStaleFileGuard staleFiles;
  if (!staleFiles.IsActive()) {
    ZRB_DEBUG("ZRB: ZRBXMAP is not set; no dependent files are requested");
    return E_FAIL;
  }
  const CADUnicodeString& xmap = staleFiles.GetXmap();
  const CADUnicodeString requestPath = ZRBAfx::MakePath(xmap, CADUnicodeString(kGetFileName));
  ZRBObject* command = get.GetObject("COMMAND");
  if (!command) return E_FAIL;
  command->SetSlotValue("COMMAND", "REQUEST_GET_DEPENDENT");
  command->SetSlotValue("EXMAP", Text(xmap));
  command->SetSlotValue("XMAPCONTENT", Text(staleFiles.GetListPath()));
  if (!get.Write(requestPath)) {
    ZRB_DEBUG("ZRB: writing %s failed", requestPath.c_str());
    return E_FAIL;
  }
  ZRBAfx::SetWorkBenchWindowTop();
  const int ran = RunPdmAction(ZRBPdmAction::GetDependentFiles,
                               ZRBPdmAction::Line(ZRBPdmAction::GetDependentFiles, requestPath, xmap));
  ZRBAfx::SetCadWindowTop();
  if (ran < 0) return E_FAIL;

  ZRBObjectManager answer;
  if (!ZRBPdmRequest::ReadAnswer(requestPath, answer)) return E_FAIL;
  if (!staleFiles.GetListPath().IsEmpty()) CADDeleteFile(staleFiles.GetListPath());
  staleFiles.ProcessCachedFiles(answer);
  CADListValCADUnicodeString refresh;
  ZRBCacheFileUtil::ManageFilesForCache(answer, refresh);

  const ZRBObject* root = answer.GetObject("ROOT");
  if (!root || root->GetSlotValue("ACTION_SUCCESS") != "1") {
    ZRB_DEBUG("ZRB: the PDM did not deliver the dependent files");
    if (root) ZRBPdmRequest::AddStats(*root, GetWarnings());
    return E_FAIL;
  }
  const int loaded = LoadDelivered(answer, xmap);
  RedrawAllModelNodes();
  ZRBFileUtil::DeleteTemporaryFiles(refresh);
  staleFiles.Restore();
  ZRB_TRACE_OK();
  return loaded ? S_OK : E_FAIL;
}

int ZRBGetDepBase::LoadDelivered(ZRBObjectManager& answer, const CADUnicodeString& xmap) {
  ZRBReadState state;
  ZRBReadContext context(*this, state, answer);
  ZRBDocComponentReader reader(context);
  int allOpened = 1;
  const ZRBObject* root = answer.GetObject("ROOT");
  for (const CADString& key : root->GetSlotValueList("ITEMLIST")) {
    ZRB_DEBUG("ZRB: working on object [%s]", key.c_str());
    ZRBObject* object = answer.GetObject(key);
    if (!object || object->GetSlotValue("GET_SUCCESS") != "1") continue;
    const CADString location = object->GetSlotValue("EXTERNAL_LOCATION");
    ZRB_DEBUG("ZRB: ExternalLocation [%s]", location.c_str());
    const CADUnicodeString path = ZRBAfx::MakePath(xmap, ZRBFileUtil::GetFileNameFromPath(CADUnicodeString(location)));
    CADString obid = object->GetSlotValue("ZRB_OBID");
    if (obid.IsEmpty()) obid = object->GetSlotValue("OBID");
    // A document the session held before the get: another version when the PDM's identity differs.
    int otherVersion = 0;
    if (CADDocumentServices::GetDocumentInSession(path)) {
      const CADUnicodeString held = GlobPropertyManager.GetReferencePropertyByFullPath(path, "ZRB_OBID");
      otherVersion = !held.IsEmpty() && held != CADUnicodeString(obid);
    }
    CADIProduct_var placed;
    if (!reader.ReadCADPart(ZRBComponentPlace{}, *object, placed)) {
      ZRB_DEBUG("ZRB: Document [%s] not opened", path.c_str());
      allOpened = 0;
      continue;
    }
    CADUnicodeString display = ZRBAfx::GetMessageDisplayFromPath(path);
    GetInformations().Append(
        BuildMessage("ZRBGetDepBase", otherVersion ? "DifferntVersionLoaded" : "Loaded", &display, 1));
    if (GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME").IsEmpty()) {
      CADUnicodeString seconds;
      if (SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)))
        GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
    }
  }
  return allOpened;
}
