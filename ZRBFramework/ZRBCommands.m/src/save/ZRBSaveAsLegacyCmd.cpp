#include "ZRBSaveAsLegacyCmd.h"

#include <filesystem>
#include <system_error>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADSystemServices.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBCreateRequest.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

ZRBSaveAsLegacyCmd* fctCreateZRBSaveAsLegacyCmd() { return new ZRBSaveAsLegacyCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBSaveAsLegacyCmd", &fctCreateZRBSaveAsLegacyCmd);

const ZRBDocumentDialogCmd::Words kWords{"ZRBSaveAsLegacyCmd",
                                         "REQUEST_SAVEAS",
                                         ZRBPdmAction::SaveAsCADPartLegacyFrFl,
                                         ZRBPdmAction::SaveAsCADPartLegacyFrFl,
                                         "SaveAsLegacy",
                                         "SaveAsOk",
                                         false};

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

// The entry itself: an old model there may be a symbolic link, and the link is what goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

// Unsaved work, or a file changed behind the session's back since its last known time.
bool IsModified(const CADDocument& document) {
  if (document.IsDirty()) return true;
  if (!IsOn("ZRB_ENABLE_CHECKMODTIMESTAMP")) return false;
  const CADUnicodeString known = GlobPropertyManager.GetFileProperty(document.StorageName(), "ZRB_LAST_KNOWN_MOD_TIME");
  CADUnicodeString now;
  return !known.IsEmpty() &&
         (FAILED(ZRBFileUtil::GetLastModificationFromFile(document.StorageName(), now)) || !(now == known));
}

}  // namespace

ZRBSaveAsLegacyCmd::ZRBSaveAsLegacyCmd()
    : ZRBDocumentDialogCmd("ZRBSaveAsLegacyCmd", ZRBRunningCommandKind::SaveAsLegacy, kWords) {}

int ZRBSaveAsLegacyCmd::CheckDocument(CADDocument& document, bool drawing) {
  const auto refuse = [&](const char* trace, const char* message) {
    ZRB_DEBUG("ZRB: SaveAsLegacy: %s", trace);
    GetWarnings().Append(BuildMessage("ZRBSaveAsLegacyCmd", message));
    return 0;
  };
  if (drawing) return refuse("only a part becomes a legacy model", "NoPartObject");
  if (IsOn("ZRB_SAVEAS_LEGACY_WITH_DIRTYCHECK") && IsModified(document))
    return refuse("the part holds unsaved work", "CadFileDirty");
  if (IsOn("ZRB_SAVEAS_LEGACY_WITH_ZRBCHECK") &&
      GlobPropertyManager.GetReferenceProperty(document.GetRootProduct(), "ZRB_OBID").IsEmpty())
    return refuse("the part is not known to the PDM", "CadFileNotFromZRB");
  return 1;
}

int ZRBSaveAsLegacyCmd::BuildRequest(ZRBCreateRequest& request, CADDocument& document, bool drawing) {
  ZRB_TRACE("ZRBSaveAsLegacyCmd::SaveAsCADPartToLegacy");
  static_cast<void>(drawing);
  CADIProduct_var product = document.GetRootProduct();
  ZRBObject* root = product ? request.AddRoot("model") : nullptr;
  if (!root || !request.SaveIntoExchangeMap(document, "SaveAsLegacy")) return 0;
  root->SetSlotValue("CADORIGOBID", GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").ConvertToString());
  // The legacy model is the part's file as the host writes it, under the model extension.
  modelPath_ =
      CADUnicodeString(std::filesystem::path(request.DocumentPath().str()).replace_extension(".model").string());
  ZRB_DEBUG("ZRB: SaveAsLegacy FullPath is %s", modelPath_.c_str());
  if ((EntryExists(modelPath_) && FAILED(CADDeleteFile(modelPath_))) ||
      FAILED(ZRBFileUtil::CopyFile(request.DocumentPath(), modelPath_))) {
    CADUnicodeString parameter = modelPath_;
    request.AddMessage("DocumentSaveAsLegacyFailed", &parameter, 1);
    return 0;
  }
  ZRBObjectManager& manager = request.Request();
  ZRBObject* model = manager.CreateObject("");
  if (!model || !ZRBPdmRequest::AddCommand(manager, "REQUEST_SAVEAS", request.ExchangeMap())) return 0;
  model->SetSlotValue("PATH", modelPath_.ConvertToString());
  model->SetSlotValue("EXTERNAL_LOCATION", modelPath_.ConvertToString());
  model->SetSlotValue("PARTNUMBER", product->GetPartNumber().ConvertToString());
  model->SetSlotValue("CADCLASSNAME", "model");
  model->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", model->GetKey());
  ZRBDocPropertyTransfer::SetModelInfoToZRBObject(manager, product, model, &document);
  root->SetSlotValueList("SUBASSEMBLIES", {model->GetKey()});
  root->SetSlotValueList("DOCCOMS", {model->GetKey()});
  request.SendUnder(modelPath_);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBSaveAsLegacyCmd::ApplyAnswer(ZRBObjectManager& answer, ZRBObject* created, CADDocument* document) {
  static_cast<void>(answer);
  static_cast<void>(document);
  // The part did not go to the PDM: work it held is still unsaved.
  RestoreAfterCancel();
  if (!created || created->GetSlotValue("OBID").IsEmpty()) {
    ZRB_DEBUG("ZRB: the answer names no legacy model item");
    return 0;
  }
  GlobZRBCache.RegisterObjectFile(*created, modelPath_);
  return 1;
}

void ZRBSaveAsLegacyCmd::ShowEnd(int success) {
  if (success && GetWarnings().IsEmpty()) {
    ShowMessage("ZRBSaveAsLegacyCmd", "SaveAsOk", kInformationStyle);
    return;
  }
  ZRBDocumentDialogCmd::ShowEnd(success);
}
