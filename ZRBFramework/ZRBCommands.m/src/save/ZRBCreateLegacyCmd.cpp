#include "ZRBCreateLegacyCmd.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "CADCSO.h"
#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBXmapDocuments.h"

ZRBCreateLegacyCmd* fctCreateZRBCreateLegacyCmd() { return new ZRBCreateLegacyCmd(); }

namespace {

const CADClassDictionary::Registration g_registration("ZRBCreateLegacyCmd", &fctCreateZRBCreateLegacyCmd);

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

// The entry itself: an old file there may be a symbolic link, and the link is what goes.
bool EntryExists(const CADUnicodeString& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(path.str(), error));
}

}  // namespace

ZRBOneStepCommand::Outcome ZRBCreateLegacyCmd::Work() {
  ZRB_TRACE("ZRBCreateLegacyCmd::Work");
  const int done = CreateLegacyObject();
  if (done) ZRB_TRACE_OK();
  return done ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBCreateLegacyCmd::ShowOutcome(int success) {
  if (success && GetWarnings().IsEmpty()) {
    ShowMessage("ZRBCreateLegacyCmd", "CreateOk", kInformationStyle);
    return;
  }
  DisplayMessageCenter(success, 0, BuildMessage("ZRBCreateLegacyCmd", "CreateOk"),
                       BuildMessage("ZRBCreateLegacyCmd", "CreateFailed"), 0);
}

int ZRBCreateLegacyCmd::CreateLegacyObject() {
  const auto refuse = [&](const char* trace, const char* message) {
    ZRB_DEBUG("ZRB: CreateLegacyObject: %s", trace);
    GetWarnings().Append(BuildMessage("ZRBCreateLegacyCmd", message));
    return 0;
  };
  CADFrmEditor* editor = GetEditor();
  CADCSO* selection = editor ? editor->GetCSO() : nullptr;
  if (!selection || selection->GetSize() != 1) return refuse("*** wrong number of elements ***", "NoPartSelected");
  const CADPathElement* path = selection->GetElement(1);
  CADIProduct_var product = path && !path->IsEmpty() ? CADIProduct_var(path->GetElement(path->GetSize())) : nullptr;
  if (!product) return refuse("*** selected elemant is not a Product ***", "NoPartSelected");
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document)
    return refuse("*** document is NULL ***", "NoPartObject");
  if (!(document->GetType() == "CADPart")) return refuse("*** selected Item is not a Cat Part ***", "NoPartObject");
  ZRB_DEBUG("ZRB: CreateLegacyObject: storage name is '%s'", document->StorageName().c_str());
  CADIProduct_var reference = product->GetReferenceProduct() ? product->GetReferenceProduct() : product;
  const CADUnicodeString partObid = GlobPropertyManager.GetReferenceProperty(reference, "ZRB_OBID");
  CADIProduct_var father = product->GetFatherProduct();
  const CADUnicodeString fatherObid = father ? GlobPropertyManager.GetReferenceProperty(father, "ZRB_OBID") : "";
  ZRB_DEBUG("ZRB: Father OBID is '%s'", fatherObid.c_str());
  ZRB_DEBUG("ZRB: Part OBID is   '%s'", partObid.c_str());
  if (IsOn("ZRB_CREATE_LEGACY_WITH_PARENT") && fatherObid.IsEmpty())
    return refuse("*** no Father Product found but needed by configuration ***", "NotAllowedByConfiguraton");

  CADUnicodeString xmap, partPath;
  if (!ZRBXmapDocuments::GetExmapFileFullPath(document->StorageName(), xmap, partPath)) return 0;
  const std::filesystem::path model = std::filesystem::path(partPath.str()).replace_extension(".model");
  const CADUnicodeString modelPath(model.string());
  ZRB_DEBUG("ZRB: CreateLegacy FullPath is %s", modelPath.c_str());
  // The legacy model is the part's file as the host writes it, under the model extension.
  CADUnicodeString parameter = modelPath;
  if (!SaveAs(*document, partPath, document->GetType(), 0) ||
      (EntryExists(modelPath) && FAILED(CADDeleteFile(modelPath))) ||
      FAILED(ZRBFileUtil::CopyFile(partPath, modelPath)))
    return refuse("*** the model cannot be written ***", "NoFileAccess");

  ZRBObjectManager request;
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  ZRBObject* object = root ? request.CreateObject("") : nullptr;
  if (!object) return 0;
  root->SetSlotValue("CADCLASSNAME", "CADPart");
  if (IsOn("ZRB_DISABLE_UPDATE_WB")) root->SetSlotValue("DROP_IN_WB", "1");
  root->SetSlotValueList("SUBASSEMBLIES", {object->GetKey()});
  root->SetSlotValueList("DOCCOMS", {object->GetKey()});
  object->SetSlotValue("PATH", modelPath.ConvertToString());
  object->SetSlotValue("EXTERNAL_LOCATION", modelPath.ConvertToString());
  object->SetSlotValue("OBID", partObid.ConvertToString());
  object->SetSlotValue("DB_NAME", GlobPropertyManager.GetReferenceProperty(reference, "ZRB_DB_NAME").ConvertToString());
  object->SetSlotValue("FATHER_OBID", fatherObid.ConvertToString());
  if (father)
    object->SetSlotValue("FATHER_DB_NAME",
                         GlobPropertyManager.GetReferenceProperty(father, "ZRB_DB_NAME").ConvertToString());

  const CADUnicodeString requestPath = ZRBAfx::MakePath(xmap, CADUnicodeString("rfile.zrb"));
  parameter = requestPath;
  if ((EntryExists(requestPath) && FAILED(CADDeleteFile(requestPath))) || !request.Write(requestPath))
    return refuse("*** the request cannot be written ***", "NoFileAccess");
  ZRBAfx::SetWorkBenchWindowTop();
  const int run = RunPdmAction(ZRBPdmAction::CreateCADLegacyFromFile,
                               ZRBPdmAction::Line(ZRBPdmAction::CreateCADLegacyFromFile, modelPath));
  ZRBAfx::SetCadWindowTop();
  if (run < 0) return 0;
  ZRBObjectManager answer;
  ZRBObject* answerRoot = answer.Read(requestPath) ? answer.GetObject("ROOT") : nullptr;
  if (answerRoot) ZRBPdmRequest::AddStats(*answerRoot, GetWarnings());
  if (!ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(answerRoot, ZRBPdmStep::OneStep))) {
    ZRB_DEBUG("ZRB: legacy model creation in PDM failed!");
    return 0;
  }
  return 1;
}
