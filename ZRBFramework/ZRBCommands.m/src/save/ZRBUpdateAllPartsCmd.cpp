#include "ZRBUpdateAllPartsCmd.h"

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfxCache.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBCreateRequest.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBUpdateAllPartsCmd* fctCreateZRBUpdateAllPartsCmd() { return new ZRBUpdateAllPartsCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBUpdateAllPartsCmd", &fctCreateZRBUpdateAllPartsCmd);

CADIProduct_var RootOf(CADDocument* document) {
  CADIProduct_var root;
  if (document) ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root);
  return root;
}

bool CacheActive() {
  int active = 0;
  return SUCCEEDED(CADSettingRepository::ReadSetting("CADCache", "CacheActivation", &active)) && active != 0;
}
}  // namespace

int ZRBUpdateAllPartsCmd::DeleteVisOfCADPart(const CADUnicodeString& path) {
  if (!CacheActive()) return 0;
  CADUnicodeString directory;
  CADListValCADString names;
  if (FAILED(ZRBAfxCache::GetLocalCacheXmapDir(directory)) || !CADIsDirectory(directory)) {
    ZRB_DEBUG("Could not access LocalCacheXmap directory");
    return -1;
  }
  // The host names a part's vis after the part's file and that file's time: every one of them shows a state
  // of the part that the save has just replaced.
  const std::string prefix = ZRBFileUtil::GetFileNameFromPath(path).str() + ".";
  int deleted = 0, failed = 0;
  if (SUCCEEDED(ZRBAfxCache::GetListOfVisInDir(directory, names))) {
    for (const CADString& name : names) {
      if (!name.StartsWith(prefix)) continue;
      const CADUnicodeString vis = CADMakePath(directory, CADUnicodeString(name));
      ZRB_DEBUG("Deleting VIS from Cache: %s", vis.c_str());
      if (FAILED(CADDeleteFile(vis))) {
        ZRB_DEBUG("Could not delete VIS file from Cache");
        ++failed;
      } else {
        ++deleted;
      }
    }
  }
  if (!deleted && !failed) ZRB_DEBUG("Could not access VIS file in Cache");
  return failed ? -1 : deleted;
}

std::vector<CADDocument*> ZRBUpdateAllPartsCmd::GetAllModifiedCADParts() {
  std::vector<CADDocument*> parts;
  for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
    CADDocument* document = CADDocument_var(entry).get();
    const CADIProduct_var root = RootOf(document);
    if (!root || !ZRBPSNTreeUtil::WasLoadedFromPdm(root)) continue;
    const CADUnicodeString type = GlobPropertyManager.GetProductType(root);
    if (!(type == "CADPart") && !(type == "vis")) continue;
    if (GlobPropertyManager.IsArchiveRoot(root)) continue;
    unsigned char dirty = 0;
    GetDirtyFlagForProduct(dirty, root.get(), 0, 0);
    if (dirty || document->IsDirty()) parts.push_back(document);
  }
  return parts;
}

int ZRBUpdateAllPartsCmd::UpdateCADParts(ZRBObjectManager& request, const std::vector<CADDocument*>& parts) {
  ZRB_TRACE("ZRBUpdateAllPartsCmd::UpdateCADParts");
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  if (!root) return 0;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("FILEVERSION", "1");
  int written = 0;
  for (CADDocument* document : parts) {
    const CADIProduct_var product = RootOf(document);
    // Permission first: a part the designer may not change is neither saved nor sent, and keeps its mark.
    if (!(GlobPropertyManager.GetReferenceProperty(product, "ZRB_CHANGEABLE") == "1")) {
      CADUnicodeString parameter = document->StorageName();
      AddUpdateMessage("FileNoPermission", &parameter, 1);
      continue;
    }
    // A part whose file another document replaced keeps its mark and stays out; a refusal sends nothing.
    const int identity = CheckNodeIdentity(product, "UpdateAllPartsWrongUuid", "UpdateAllPartsAskAboutWrongUuid");
    if (identity < 0) return 0;
    if (identity == 0) continue;
    // A check seal taken on the part's former state is not vouched for.
    if (g_ZRBConfig.CompareEnvVar("ZRB_READ_QCKSEAL", "ON", 1) == 1)
      ZRBCreateRequest::CheckQCheckerTimestamp(*document);
    if (!SaveForUpdate(document)) continue;
    DeleteVisOfCADPart(document->StorageName());
    ZRBObject* object = request.CreateObject("");
    if (!object) return 0;
    const auto put = [&](const char* slot, const char* name) {
      const CADUnicodeString value = GlobPropertyManager.GetReferenceProperty(product, name);
      if (!value.IsEmpty()) object->SetSlotValue(slot, value.ConvertToString());
    };
    object->SetSlotValue("PATH", document->StorageName().ConvertToString());
    put("CHANGEABLE", "ZRB_CHANGEABLE");
    put("OBID", "ZRB_OBID");
    put("CLASSNAME", "ZRB_CLASSNAME");
    put("DB_NAME", "ZRB_DB_NAME");
    object->SetSlotValue("PARTNUMBER", product->GetPartNumber().ConvertToString());
    object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", object->GetKey());
    object->SetSlotValue("UPD_GEOMETRY", "1");
    if (!ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, product, object, document))
      ZRB_DEBUG("SetModelInfoToZRBObject failed ");
    if (FAILED(ZRBDocPropertyTransfer::SetUserDefPropertiesToZRBObject(product, object)))
      ZRB_DEBUG("SetUserDefPropertiesZRBObject failed ");
    root->SlotAppend("SUBASSEMBLIES", object->GetKey());
    ++written;
  }
  ZRB_TRACE_OK();
  return written;
}

ZRBOneStepCommand::Outcome ZRBUpdateAllPartsCmd::Work() {
  ZRB_TRACE("ZRBUpdateAllPartsCmd::Work");
  ZRBObjectManager request;
  if (!UpdateCADParts(request, GetAllModifiedCADParts())) {
    // Nothing sendable: whatever was saved goes back to modified.
    ProcessSaveFlags(0, request);
    return GetWarnings().Size() > 0 ? Outcome::Failed : Outcome::Stopped;
  }
  if (CreateUpdatePosSelectDialog(request, nullptr, true)) return Outcome::Continues;
  const int success = SendParts(request);
  ZRB_TRACE_OK();
  return success ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBUpdateAllPartsCmd::ContinueUpdate(ZRBObjectManager& request, const CADIProduct_var&) {
  ApplyClientMode();
  ShowOutcome(SendParts(request));
  End();
}

int ZRBUpdateAllPartsCmd::SendParts(ZRBObjectManager& request) {
  ZRB_TRACE("ZRBUpdateAllPartsCmd::SendParts");
  ZRBObjectManager answer;
  const int success = SendUpdate(request, answer);
  if (success) {
    // Judged by what was asked: a part whose object the answer lost or left unconfirmed is still unsaved.
    for (ZRBObject* asked = request.GetFirstObject(); asked; asked = request.GetNextObject(asked)) {
      if (!(asked->GetSlotValue("UPD_GEOMETRY") == "1")) continue;
      const CADUnicodeString path(asked->GetSlotValue("PATH"));
      const ZRBObject* answered = answer.GetObjectByPrivateUpdateId(asked->GetKey());
      if (answered && answered->GetSlotValue("MODEL_UPD_SUCCESS") == "1") {
        GlobZRBCache.RegisterObjectFile(*answered, path);
        GlobPropertyManager.DeleteFileProperty(path, "ZRB_QCKFILE_UPTODATE");
      } else if (CADDocument* document = CADDocumentServices::GetDocumentInSession(path)) {
        ZRB_DEBUG("ZRB: %s was not saved by the PDM", path.c_str());
        document->SetDirty(1);
      }
    }
  }
  ProcessSaveFlags(success, success ? answer : request);
  if (success) ZRB_TRACE_OK();
  return success;
}
