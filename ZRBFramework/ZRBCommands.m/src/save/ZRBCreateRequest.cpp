#include "ZRBCreateRequest.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIDrawing.h"
#include "CADIProduct.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBListText.h"
#include "ZRBObject.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBXmapDocuments.h"

namespace {

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

// The entry itself: an old request file may be a symbolic link, and the link is what goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

// Yes takes the offered type, No the other one, Cancel stops.
constexpr unsigned long kPartTypeStyle = CADDlgNfyYesNo | CADDlgNfyOKCancel | CADDlgNfyQuestion;

// The open documents of `type` that point at `document`.
bool PointedAtBy(const CADDocument& document, const char* type) {
  for (const CADBaseUnknown_var& item : CADDocumentServices::GetListOfDocuments()) {
    CADDocument_var other(item);
    if (!other || other.get() == &document || !(other->GetType() == type)) continue;
    const std::vector<CADDocument*> pointed = other->GetPointedDocuments();
    if (std::find(pointed.begin(), pointed.end(), &document) != pointed.end()) return true;
  }
  return false;
}

}  // namespace

int ZRBCreateRequest::CheckLinks(const CADDocument& document, bool products) {
  if (products && IsOn("ZRB_CHECK_LINKED_PRODUCT") && PointedAtBy(document, "CADProduct")) {
    AddMessage("DocumentOpenInProductWindow");
    return 0;
  }
  if (IsOn("ZRB_CHECK_LINKED_DRAWING") && PointedAtBy(document, "CADDrawing")) {
    AddMessage("DocumentOpenInDrawingWindow");
    return 0;
  }
  return 1;
}

CADUnicodeString ZRBCreateRequest::AskForPartType(std::string_view question) {
  if (!IsOn("ZRB_ENABLE_ASK_FOR_BOM_PART")) return "BOM";
  const bool bomFirst = g_ZRBConfig.CompareEnvVar("ZRB_BOM_PART_DEFAULT_FOR_SYNC", "BOM", 1) == 1;
  const std::string key = "ZRBAfx." + std::string(question) + (bomFirst ? ".YesIsBom" : ".YesIsNoBom");
  const int answer = ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBAfx", CADString(key)), kPartTypeStyle);
  if (answer == CADDlgNfyAnswerYes) return bomFirst ? "BOM" : "NO_BOM";
  if (answer == CADDlgNfyAnswerNo) return bomFirst ? "NO_BOM" : "BOM";
  command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.ActionStopped"));
  return CADUnicodeString();
}

int ZRBCreateRequest::CheckQCheckerTimestamp(const CADDocument& document) {
  if (!IsOn("ZRB_READ_QCKSEAL") || !IsOn("ZRB_QCK_TIMESTAMP")) return 1;
  const CADUnicodeString path = document.StorageName();
  if (!GlobPropertyManager.IsFilePropertySet(path, "ZRB_QCKFILE_UPTODATE")) return 1;
  const CADUnicodeString known = GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME");
  CADUnicodeString now;
  const bool changed = document.IsDirty() || known.IsEmpty() ||
                       FAILED(ZRBFileUtil::GetLastModificationFromFile(path, now)) || !(now == known);
  if (!changed) return 1;
  // A seal taken on another state of the file says nothing about this one.
  ZRB_DEBUG("ZRB: the check seal of %s is older than the file", path.c_str());
  GlobPropertyManager.DeleteFileProperty(path, "ZRB_QCKFILE_UPTODATE");
  return 0;
}

void ZRBCreateRequest::AddMessage(std::string_view key, CADUnicodeString* parameters, int count) {
  const std::string catalog(catalog_);
  command_.GetWarnings().Append(
      ZRBAfx::BuildMessage(CADString(catalog), CADString(catalog + "." + std::string(key)), parameters, count));
}

ZRBObject* ZRBCreateRequest::AddRoot(const CADString& className) {
  root_ = ZRBPdmRequest::AddRoot(request_);
  if (!root_) return nullptr;
  root_->SetSlotValue("CADCLASSNAME", className);
  // The PDM is not to put the new item into the designer's workbench.
  if (IsOn("ZRB_DISABLE_UPDATE_WB")) root_->SetSlotValue("DROP_IN_WB", "1");
  return root_;
}

int ZRBCreateRequest::SaveIntoExchangeMap(CADDocument& document, const char* traceLabel) {
  ZRB_DEBUG("ZRB: StorageName is %s", document.StorageName().c_str());
  if (!ZRBXmapDocuments::GetExmapFileFullPath(document.StorageName(), xmap_, documentPath_)) {
    ZRB_DEBUG("ZRB: GetExmapFileFullPath() failed");
    CADUnicodeString parameter = document.StorageName();
    AddMessage("NoFileAccess", &parameter, 1);
    return 0;
  }
  requestPath_ = ZRBAfx::MakePath(xmap_, CADUnicodeString(kFileName));
  ZRB_DEBUG("ZRB: %s FullPath is %s", traceLabel, documentPath_.c_str());
  const int wasReadOnly = document.IsReadOnly();
  document.SetReadOnly(0);
  const int saved = command_.SaveAs(document, documentPath_, document.GetType(), 0);
  document.SetReadOnly(wasReadOnly);
  if (!saved) {
    CADUnicodeString parameter = ZRBAfx::GetMessageDisplayFromPath(documentPath_);
    AddMessage("NoFileAccess", &parameter, 1);
  }
  return saved;
}

int ZRBCreateRequest::Describe(CADDocument& document, bool drawing) {
  if (!root_) return 0;
  CADString modelKey;
  if (!ZRBDocPropertyTransfer::SetDocPropertiesToZRBObject(command_, request_, &document, root_, modelKey)) return 0;
  object_ = request_.GetObject(modelKey);
  if (!object_) return 0;
  if (!ZRBDocPropertyTransfer::SetFeatureExtentionsToZRBObject(request_, &document, object_))
    ZRB_DEBUG("SetFeatureExtentionsToZRBObject failed ");
  // The PDM answers under this key whatever it does with the object's own.
  object_->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", object_->GetKey());
  GlobPropertyManager.SetFileProperty(document.StorageName(), "ZRB_PRIVATE_UPDATE_ID",
                                      CADUnicodeString(object_->GetKey()));
  if (drawing) {
    CADIDrawing_var view(&document);
    if (view) ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request_, view, object_, &document);
    return 1;
  }
  CADIProduct_var product = document.GetRootProduct();
  if (product && FAILED(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(product, object_)))
    ZRB_DEBUG("SetUserDefPropertiesZRBObject failed ");
  return 1;
}

int ZRBCreateRequest::AddDesignTables(CADDocument& document) {
  if (!object_ || !IsOn("ZRB_CHECK_BROKEN_DT")) return 0;
  CADIProduct_var product = document.GetRootProduct();
  CADRawCollPV* tables = product ? ZRBDesignTable::GetTables(product, 1) : nullptr;
  if (!tables) return 0;
  int described = 0;
  for (int i = 1; i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    unsigned char exists = 0;
    if (!table || FAILED(table->FileExists(&exists)) || !exists) continue;
    // The PDM takes the table's file from the exchange map, like the document's.
    if (FAILED(table->MoveToXMap())) {
      CADUnicodeString path;
      table->GetFullPath(path);
      AddMessage("NoFileAccess", &path, 1);
      continue;
    }
    ZRBObject* slots = request_.CreateObject("");
    if (!slots || FAILED(table->GetZRBObject(slots))) continue;
    slots->SetSlotValue("LINK_DESTAB", "1");
    object_->SlotAppend("TABLES", slots->GetKey());
    ++described;
  }
  ZRBDesignTable::DestroyList(tables);
  if (described > 0) AddMessage("DesignTableDetected");
  return described;
}

int ZRBCreateRequest::Write() {
  if (requestPath_.IsEmpty()) return 0;
  if (EntryExists(requestPath_) && FAILED(CADDeleteFile(requestPath_))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", requestPath_.c_str());
    CADUnicodeString parameter = requestPath_;
    AddMessage("NoFileAccess", &parameter, 1);
    return 0;
  }
  if (!request_.Write(requestPath_)) {
    ZRB_DEBUG("ZRB: writing %s failed", requestPath_.c_str());
    CADUnicodeString parameter = requestPath_;
    AddMessage("NoFileAccess", &parameter, 1);
    return 0;
  }
  return 1;
}

ZRBObject* ZRBCreateRequest::ReadAnswer(ZRBObjectManager& answer) const {
  ZRBObject* root = answer.Read(requestPath_) ? answer.GetObject("ROOT") : nullptr;
  if (!root) ZRB_DEBUG("Cannot read Root Obj from %s", requestPath_.c_str());
  return root;
}

ZRBObject* ZRBCreateRequest::CreatedObject(const ZRBObjectManager& answer) {
  const ZRBObject* root = answer.GetObject("ROOT");
  if (!root) return nullptr;
  const CADListValCADString keys = root->GetSlotValueList("SUBASSEMBLIES");
  return keys.Size() > 0 ? answer.GetObject(keys[1]) : nullptr;
}

int ZRBCreateRequest::ApplyIdentity(ZRBObjectManager& answer, ZRBObject& created, CADDocument& document) {
  ZRB_TRACE("ZRBCreateRequest::ApplyIdentity");
  // A half answer must not give the document an identity the PDM never confirmed.
  if (created.GetSlotValue("OBID").IsEmpty()) {
    ZRB_DEBUG("ZRB: the answer names no OBID for the created item");
    return 0;
  }
  // The file name is the PDM's to choose, but only inside the exchange map; a refused name leaves the document
  // as it was rather than half renamed under a new identity.
  const CADString relative = created.GetSlotValue("RELATIVE_PATH");
  if (!relative.IsEmpty() && !ZRBDocPropertyTransfer::StaysInsideExchangeMap(relative.view())) {
    ZRB_DEBUG("ZRB ERROR: refusing RELATIVE_PATH '%s': it leads outside the exchange map", relative.c_str());
    CADUnicodeString parameter(relative);
    command_.GetWarnings().Append(
        ZRBAfx::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.RelativePathRefused", &parameter, 1));
    return 0;
  }
  if (CADIProduct_var product = document.GetRootProduct()) {
    if (!ZRBDocPropertyTransfer::SetUserDefinedPropertiesFromZRBObject(product, &created))
      command_.GetWarnings().Append(ZRBAfx::BuildMessage("ZRBAfx", "ZRBAfx.WrongListSize"));
    ZRBDocPropertyTransfer::GetFeatureExtentionsFromZRBObject(product, &created, answer);
  }
  ZRB_DEBUG("Set new MODIFICATION_DATE_GMT %s", created.GetSlotValue("MODIFICATION_DATE_GMT").c_str());
  const int applied =
      ZRBDocPropertyTransfer::SetDocPropertiesFromZRBObject(command_, answer, &document, created.GetKey());
  const CADUnicodeString path = document.StorageName();
  GlobZRBCache.RegisterObjectFile(created, path);
  GlobPropertyManager.SetFileProperty(path, "ZRB_PRIVATE_UPDATE_ID", CADUnicodeString());
  if (created.GetSlotValue("QCK_SEAL_UPTODATE") == "1")
    GlobPropertyManager.SetFileProperty(path, "ZRB_QCKFILE_UPTODATE", "1");
  else
    GlobPropertyManager.DeleteFileProperty(path, "ZRB_QCKFILE_UPTODATE");
  ApplyDesignTables(answer, created, document);
  if (applied) ZRB_TRACE_OK();
  return applied;
}

void ZRBCreateRequest::ApplyDesignTables(const ZRBObjectManager& answer, const ZRBObject& created,
                                         CADDocument& document) {
  CADIProduct_var product = document.GetRootProduct();
  const CADListValCADString keys = created.GetSlotValueList("TABLES");
  if (!product || keys.Size() == 0) return;
  CADListValCADUnicodeString known =
      ZRBListText::Split(GlobPropertyManager.GetReferenceProperty(product, "ZRB_DESIGNTABLES").view());
  for (const CADString& key : keys) {
    const ZRBObject* table = answer.GetObject(key);
    if (!table || !(table->GetSlotValue("LINK_SUCCESS") == "1")) continue;
    // Only a plain file name of the exchange map is a table the part can list.
    const CADUnicodeString name =
        ZRBDesignTable::SafeFileName(CADUnicodeString(table->GetSlotValue("EXTERNAL_LOCATION")));
    if (name.IsEmpty()) continue;
    ZRBDesignTable::SetZRBProperties(table, 1);
    if (!known.Locate(name)) known.Append(name);
  }
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_DESIGNTABLES", ZRBListText::Join(known));
}
