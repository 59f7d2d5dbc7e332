#include "ZRBSyncBomTypes.h"

#include <string>
#include <utility>
#include <vector>

#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBSyncJobList.h"
#include "ZRBTrace.h"

namespace {

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}

void Put(ZRBObject* object, const char* slot, const CADUnicodeString& value) {
  if (!value.IsEmpty()) object->SetSlotValue(slot, value.ConvertToString());
}

CADUnicodeString DialogText(const char* key) {
  return ZRBAfx::BuildMessage("ZRBUpdateCreateDialog", CADString(std::string("ZRBUpdateCreateDialog.") + key));
}

// The PDM's word for a part type; false for a word this module does not know.
bool PartTypeOf(const CADString& word, ZRBPartType& type) {
  if (word == "NOT_SET")
    type = ZRBPartType::NotSet;
  else if (word == "NOT_BOM")
    type = ZRBPartType::NoBom;
  else if (word == "BOM")
    type = ZRBPartType::Bom;
  else
    return false;
  return true;
}

}  // namespace

int ZRBSyncBomTypes::SetBomTypeFromPdm(ZRBSyncJobList& jobs, CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBSyncBomTypes::SetBomTypeFromPdm");
  ZRBObjectManager request;
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  if (!root) return 0;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("PROCESS", "GetBomTypes");
  std::vector<std::pair<CADString, int>> asked;
  ZRBObject* previous = root;
  for (int row = 0; row < jobs.Size(); ++row) {
    const ZRBSyncJob& job = jobs.At(row);
    const CADUnicodeString type = job.product ? GlobPropertyManager.GetProductType(job.product) : CADUnicodeString();
    if (!job.editable || !(type == "CADPart" || type == "model")) continue;
    ZRBObject* object = request.CreateObject("");
    if (!object) return 0;
    Put(object, "PARTNUMBER", job.product->GetPartNumber());
    Put(object, "NOMENCLATURE", Ref(job.product, "ZRB_NOMENCLATURE"));
    Put(object, "FILENAME", GlobPropertyManager.GetProductFullPath(job.product));
    const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(job.product);
    if (father && !Ref(father, "ZRB_OBID").IsEmpty()) {
      ZRBObject* parent = request.CreateObject("");
      if (!parent) return 0;
      Put(parent, "OBID", Ref(father, "ZRB_OBID"));
      Put(parent, "DB_NAME", Ref(father, "ZRB_DB_NAME"));
      Put(parent, "CLASSNAME", Ref(father, "ZRB_CLASSNAME"));
      object->SetSlotValue("PARENT", parent->GetKey());
    }
    previous->SetSlotValue("NEXT_OP", object->GetKey());
    previous = object;
    asked.emplace_back(object->GetKey(), row);
  }
  if (asked.empty()) {
    ZRB_TRACE_OK();
    return 1;
  }
  CADUnicodeString path;
  ZRBAfx::GetXMapWithEndingSlash(path);
  path = path + CADUnicodeString("bomtypes.zrb");
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    CADUnicodeString parameter = path;
    messages.Append(
        ZRBAfx::BuildMessage("ZRBUpdateCreateDialog", "ZRBUpdateCreateDialog.NoBomFileAccess", &parameter, 1));
    return 0;
  }
  if (ZRBPdmRequest::Run(ZRBPdmAction::GetBomTypes, ZRBPdmAction::Line(ZRBPdmAction::GetBomTypes, path)) < 0) return 0;
  ZRBObjectManager answer;
  const ZRBObject* answerRoot = ZRBPdmRequest::ReadWholeAnswer(path, answer) ? answer.GetObject("ROOT") : nullptr;
  if (answerRoot) ZRBPdmRequest::AddStats(*answerRoot, messages);
  if (!ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(answerRoot, ZRBPdmStep::OneStep))) {
    ZRB_DEBUG("Action not Successfully");
    messages.Append(DialogText("TC_GetBomTypesFailed"));
    return 0;
  }
  for (const auto& [key, row] : asked) {
    const ZRBObject* object = answer.GetObject(key);
    const CADString word = object ? object->GetSlotValue("BOM_TYPE") : CADString();
    ZRBPartType type = ZRBPartType::NotSet;
    if (!PartTypeOf(word, type)) {
      ZRB_DEBUG("Unkown Bom-Type:%s, Bom-Type not changed!", word.c_str());
      continue;
    }
    jobs.ApplyPartType(row, type);
  }
  ZRB_TRACE_OK();
  return 1;
}
