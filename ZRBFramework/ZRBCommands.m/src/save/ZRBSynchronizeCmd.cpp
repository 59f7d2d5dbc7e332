#include "ZRBSynchronizeCmd.h"

#include <algorithm>
#include <string>
#include <vector>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADSettingRepository.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFollowOnCommands.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBOrigChildRecord.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBSyncBomTypes.h"
#include "ZRBSyncFiller.h"
#include "ZRBSyncRules.h"
#include "ZRBSyncStdParts.h"
#include "ZRBTrace.h"
#include "ZRBUpdateCreateDialog.h"
#include "ZRBXmapDocuments.h"
#include "ZRBXmapHostServices.h"

ZRBSynchronizeCmd* fctCreateZRBSynchronizeCmd() { return new ZRBSynchronizeCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBSynchronizeCmd", &fctCreateZRBSynchronizeCmd);

constexpr unsigned long kQuestionStyle = 0x800200;
constexpr int kAnswerStop = 4;

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}
CADUnicodeString Inst(const CADIProduct_var& father, const CADIProduct_var& child, const char* name) {
  return father ? GlobPropertyManager.GetInstanceProperty(father, child, name) : CADUnicodeString();
}
CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}
void Put(ZRBObject* object, const char* slot, const CADUnicodeString& value) {
  if (!value.IsEmpty()) object->SetSlotValue(slot, value.ConvertToString());
}

// The PDM class of a part-like node by its product type; empty for a type the request cannot carry.
CADString PartClass(const CADIProduct_var& node, const CADUnicodeString& type, ZRBObject* object) {
  if (type == "vis") {
    if (Ref(node, "ZRB_SET_VISU_MODEL_TYPE") == "1") object->SetSlotValue("MODEL_TYPE", "VISUALIZATION");
    return "x0CadVis";
  }
  if (type == "CADPart") return "x0CadPrt";
  if (type == "model") return "x0CDMod";
  if (type == "ZRBArchive") return Ref(node, "ZRB_CLASSNAME").IsEmpty() ? CADString("x0CadArc") : CADString();
  if (ZRBInfoUtil::IsRepresentation(type)) return "x0CadRep";
  return "";
}
}  // namespace

ZRBSynchronizeCmd::ZRBSynchronizeCmd(const char* name) : ZRBUpdateCmd(1, name) {
  Modes modes = GetModes();
  modes.itemsBeforeLinks = 1;
  modes.tablesApart = 1;
  modes.noInteraction = 0;
  SetModes(modes);
}

ZRBSynchronizeCmd::~ZRBSynchronizeCmd() {
  if (dialog_) dialog_->ForgetCommand();
}

// ---------------------------------------------------------------- activation and filling

ZRBOneStepCommand::Outcome ZRBSynchronizeCmd::Work() {
  ZRB_TRACE("ZRBSynchronizeCmd::Work");
  ZRBAfx::SetShowMsg(1);
  if (IsOn("ZRB_CREATE_SPECPARTS_IN_UPDATE"))
    ZRB_DEBUG("ZRB: Environment variable ZRB_CREATE_SPECPARTS_IN_UPDATE is ON");
  if (!CheckCondOfDocumentsInWindow()) return GetWarnings().Size() > 0 ? Outcome::Failed : Outcome::Stopped;
  CADUnicodeString invalid;
  if (CheckPartNumberInActWindow(invalid) < 0) {
    if (ShowMessage("ZRBUpdateCmd", "PartNumberNotValid", kQuestionStyle, &invalid, 1) == kAnswerStop) {
      ZRB_DEBUG("Invalid Partnumber found");
      return Outcome::Stopped;
    }
    ZRB_DEBUG("User wants to continue");
  }
  if (!UpdatePdmInteractive()) return GetWarnings().Size() > 0 ? Outcome::Failed : Outcome::Stopped;
  if (!OpenDialog()) return Outcome::Stopped;
  ZRB_TRACE_OK();
  return Outcome::Continues;
}

int ZRBSynchronizeCmd::OpenDialog() {
  dialog_ = NewDialog([this] {
    dialog_ = nullptr;
    End();
  });
  return 1;
}

ZRBUpdateCreateDialog* ZRBSynchronizeCmd::NewDialog(std::function<void()> closed) {
  return new ZRBUpdateCreateDialog(jobs_, *this, std::move(closed));
}

int ZRBSynchronizeCmd::CheckCondOfDocumentsInWindow() {
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  CADIProduct_var root;
  if (!document || FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 1;
  const std::string_view key = ZRBSyncRules::CheckDocuments(root);
  if (key.empty()) return 1;
  if (key == "DeactivatedNotValid") {
    ShowMessage("ZRBUpdateCmd", key, kInformationStyle);
    return 0;
  }
  // Shown in the message centre, with the reason for the ones who read it.
  GetWarnings().Append("Illegal applicative Container found");
  AddUpdateMessage("IllegalAppContainer");
  AddUpdateMessage(key);
  return 0;
}

int ZRBSynchronizeCmd::UpdatePdmInteractive() {
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) {
    // Named, so that the trace tells which of the commands (standard or SAM client) found nothing.
    ZRB_DEBUG("ZRB: %s: No active document found!", GetName().c_str());
    return 0;
  }
  const CADUnicodeString type = document->GetType();
  if (type == "CADProduct" || type == "CADPart") {
    CADIProduct_var root;
    if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 0;
    int stop = 0;
    CheckStructureIsUpToDate(root, &stop);
    if (stop) return 0;
    return UpdateProductDocumentInteractive(document);
  }
  if (type == "CADDrawing") return UpdateDrawingDocumentInteractive(document);
  ZRB_DEBUG("ZRBUpdateCmd: Nothing to Update");
  return 0;
}

int ZRBSynchronizeCmd::UpdateProductDocumentInteractive(CADDocument* document) {
  ZRB_TRACE("ZRBSynchronizeCmd::UpdateProductDocumentInteractive");
  CADIProduct_var root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 0;
  documentPath_ = document->StorageName();
  ZRBSyncJobList::Settings settings;
  settings.validationRequired = IsOn("ZRB_ENABLE_VALIDATE_BEFORE_UPD");
  settings.askPartTypes = IsOn("ZRB_ENABLE_ASK_FOR_BOM_PART") ||
                          g_ZRBConfig.CompareEnvVar("ZRB_BOM_PART_DEFAULT_FOR_SYNC", "NOT_SET", 1) == 1;
  jobs_ = ZRBSyncJobList(settings);
  CADListValCADUnicodeString lines;
  if (!ZRBSyncStdParts::Mark(root, lines)) {
    // Without the answer a standard part would be listed as a new part and created a second time.
    ZRB_DEBUG("Could not retrieve Part infos from PDM");
    for (const CADUnicodeString& line : lines) GetWarnings().Append(line);
    ShowMessage("ZRBUpdateCmd", "NoPartInfosFromPdm", kInformationStyle);
    return 0;
  }
  ZRBSyncFiller filler(*this, jobs_, use_ != 0);
  filler.SetCommand(this);
  filler.Fill(root);
  for (const CADUnicodeString& line : lines) jobs_.AddTrace(line);
  lines.RemoveAll();
  if (IsOn("ZRB_GET_BOMTYPE_FROM_PDM") && !ZRBSyncBomTypes::SetBomTypeFromPdm(jobs_, lines)) {
    ZRB_DEBUG("Get BOM Types from PDM failed");
    ShowMessage("ZRBUpdateCmd", "GetBOMTypesFailed", kInformationStyle);
  }
  for (const CADUnicodeString& line : lines) jobs_.AddTrace(line);
  jobs_.Start();
  if (filler.IgnoredNotFromPdm() > 0 && !IsOn("ZRB_DISABLE_IGNORE_NONZRBMSGBOX"))
    ShowMessage("ZRBUpdateCmd", "IgnoreNonZRBMsgBox", kInformationStyle);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBSynchronizeCmd::UpdateDrawingDocumentInteractive(CADDocument* document) {
  ZRBSyncJobList::Settings settings;
  settings.drawing = true;
  jobs_ = ZRBSyncJobList(settings);
  ZRBSyncJob job;
  job.object = ZRBSyncObject::Drawing;
  job.name = document->StorageName();
  job.kind = "CADDrawing";
  const bool known = !GlobPropertyManager.GetFileProperty(document->StorageName(), "ZRB_OBID").IsEmpty();
  job.operation = known ? ZRBSyncMainOp::Update : ZRBSyncMainOp::Create;
  // As for a new part: where the site creates no drawings, the row shows why and can never run.
  if (!known && IsOn("ZRB_DISABLE_CREATE_CADDRAWING"))
    job.ruleFailure = ZRBSyncRules::Reason("CreateDrawingNotAllowed");
  jobs_.Add(std::move(job));
  jobs_.Start();
  return 1;
}

// ---------------------------------------------------------------- one row

ZRBSyncResult ZRBSynchronizeCmd::RunJob(ZRBSyncJob& job, CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBSynchronizeCmd::RunJob");
  ApplyClientMode();
  const int before = GetWarnings().Size();
  ZRBSyncResult result = ZRBSyncResult::Failed;
  if (job.object == ZRBSyncObject::DesignTable) {
    CADString pdmResult;
    if (job.product && !GlobPropertyManager.GetProductType(job.product).IsEmpty() &&
        UpdateCreateDesignTable(job.product, job.name, pdmResult))
      result = pdmResult == "3" ? ZRBSyncResult::Warning : ZRBSyncResult::Succeeded;
    else if (pdmResult == "2")
      result = ZRBSyncResult::Canceled;
  } else if (job.object == ZRBSyncObject::Drawing) {
    if (UpdateCreateDrawing(job.name)) result = ZRBSyncResult::Succeeded;
  } else if (!job.product || GlobPropertyManager.GetProductType(job.product).IsEmpty()) {
    // The row kept its node, but the document behind it is gone.
    ZRB_DEBUG("ZRB: the row's product is no longer in the session");
    CADUnicodeString parameter = job.name;
    AddUpdateMessage("NotFromPdm", &parameter, 1);
  } else {
    CADString pdmResult;
    const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(job.product);
    if (UpdateCreateProduct(job.product, pdmResult)) {
      result = pdmResult == "3" ? ZRBSyncResult::Warning : ZRBSyncResult::Succeeded;
      if (GlobPropertyManager.GetProductType(job.product) == "CADProduct" &&
          !GlobPropertyManager.IsArchiveRoot(job.product) && father && !ZRBCommandStates::IsWorkbenchProduct(father))
        instances_.Append(
            Ref(father, "ZRB_OBID"), Ref(father, "ZRB_DB_NAME"), Inst(father, job.product, "ZRB_RELATION"),
            Inst(father, job.product, "ZRB_REL_DB_NAME"), Ref(job.product, "ZRB_OBID"), Ref(job.product, "ZRB_DB_NAME"),
            Ref(job.product, "ZRB_CLASSNAME"), job.operation == ZRBSyncMainOp::Create ? "Create" : "Update",
            Inst(father, job.product, "ZRB_MATRIX_INDEX"));
    } else if (pdmResult == "2")
      result = ZRBSyncResult::Canceled;
  }
  const CADListValCADUnicodeString& warnings = GetWarnings();
  for (int i = before + 1; i <= warnings.Size(); ++i) messages.Append(warnings[i]);
  return result;
}

int ZRBSynchronizeCmd::UpdateCreateProduct(const CADIProduct_var& node, CADString& pdmResult) {
  ZRB_TRACE("ZRBSynchronizeCmd::UpdateCreateProduct");
  const CADUnicodeString type = GlobPropertyManager.GetProductType(node);
  const bool product = type == "CADProduct";
  if (!product && !(type == "CADPart") && !(type == "model")) {
    ZRB_DEBUG("ZRB: Not processing product type %s", type.c_str());
    CADUnicodeString parameter = node->GetPartNumber();
    AddUpdateMessage("NotProcessingProductType", &parameter, 1);
    return 0;
  }
  // The row changes the document: its quick-check seal no longer vouches for it.
  if (IsOn("ZRB_READ_QCKSEAL") && IsOn("ZRB_QCK_TIMESTAMP"))
    GlobPropertyManager.DeleteFileProperty(GlobPropertyManager.GetProductFullPath(node), "ZRB_QCKFILE_UPTODATE");
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(node);
  ZRBObjectManager request;
  if (!WriteSyncRequest(request, node, father, product)) {
    ProcessSaveFlags(0, request);
    KeepUnsentPositions(node, request);
    return 0;
  }
  ZRBObjectManager answer;
  int success = SendUpdate(request, answer, 1);
  const ZRBObject* answerRoot = answer.GetObject("ROOT");
  if (answerRoot) pdmResult = answerRoot->GetSlotValue("ACTION_SUCCESS");
  const CADString key = request.GetObject("ROOT")->GetSlotValueList("SUBASSEMBLIES")[1];
  const ZRBObject* nodeAnswer = success ? answer.GetObjectByPrivateUpdateId(key) : nullptr;
  if (success && !nodeAnswer) {
    ZRB_DEBUG("ZRB: the answer lacks the node");
    success = 0;
  }
  if (success) {
    const bool wasLinked = Inst(father, node, "ZRB_INSTANCE_IN_ZRB") == "1";
    ProcessNewPartFlags(node, answer);
    ProcessProductFlags(node, answer);
    const bool linked =
        nodeAnswer->GetSlotValue("INSTANTIATE_IN_PDM") == "1" && nodeAnswer->GetSlotValue("INSTANTIATE_SUCCESS") == "1";
    if (father && !wasLinked && !linked) {
      // The item exists now, but not its place in the father: the father's own row links it.
      GlobPropertyManager.SetInstanceProperty(father, node, "ZRB_INSTANCE_IN_ZRB", "");
      GlobPropertyManager.SetInstanceProperty(father, node, "ZRB_RELATION", "");
    }
    ProcessChildInstanceInfo(node, *nodeAnswer, answer);
    if (product) RecordLinkedChildren(node);
  } else {
    KeepUnsentPositions(node, request);
  }
  ProcessSaveFlags(success, success ? answer : request);
  if (success) ZRB_TRACE_OK();
  return success;
}

int ZRBSynchronizeCmd::UpdateCreateDrawing(const CADUnicodeString& path) {
  ZRB_TRACE("ZRBSynchronizeCmd::UpdateCreateDrawing");
  CADDocument* document = CADDocumentServices::GetDocumentInSession(path);
  CADUnicodeString parameter = path;
  if (!document) {
    ZRB_DEBUG("ZRB: the row's drawing is no longer in the session");
    AddUpdateMessage("UpdateFailed", &parameter, 1);
    return 0;
  }
  // A new drawing has no item to save into: the single-document save says so ("FileNotFromPdm").
  int status = 0;
  const int done = UpdateSingleDocument(document, true, status);
  if (done || status == kNothingToSave) ZRB_TRACE_OK();
  return done || status == kNothingToSave ? 1 : 0;
}

int ZRBSynchronizeCmd::UpdateCreateDesignTable(const CADIProduct_var& node, const CADUnicodeString& fileName,
                                               CADString& pdmResult) {
  ZRB_TRACE("ZRBSynchronizeCmd::UpdateCreateDesignTable");
  if (Ref(node, "ZRB_OBID").IsEmpty()) {
    // The part's own row has not brought it into the PDM: there is nothing to hang the table on.
    CADUnicodeString parameter = node->GetPartNumber();
    AddUpdateMessage("NotFromPdm", &parameter, 1);
    return 0;
  }
  ZRBObjectManager request;
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  ZRBObject* object = root ? request.CreateObject("") : nullptr;
  if (!object) return 0;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("FILEVERSION", "1");
  root->SetSlotValue("CADCLASSNAME", "DesignTable");
  root->SetSlotValue("PROCESS", "SyncDesignTable");
  root->SlotAppend("SUBASSEMBLIES", object->GetKey());
  Put(object, "OBID", Ref(node, "ZRB_OBID"));
  Put(object, "DB_NAME", Ref(node, "ZRB_DB_NAME"));
  Put(object, "CLASSNAME", Ref(node, "ZRB_CLASSNAME"));
  Put(object, "PARTNUMBER", node->GetPartNumber());
  Put(object, "PARTCATEGORY", Ref(node, "ZRB_PART_CGY_FOR_VALIDATE"));
  object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", object->GetKey());
  object->SetSlotValue("CREATE_PART_IN_PDM", "0");
  object->SetSlotValue("UNIT", "1.0");
  if (WriteDesignTables(request, node, object, fileName) == 0) {
    ZRB_DEBUG("ZRB: design table %s has nothing to send", fileName.c_str());
    CADUnicodeString parameter = fileName;
    AddUpdateMessage("UpdateFailed", &parameter, 1);
    return 0;
  }
  ZRBObjectManager answer;
  const int success = SendUpdate(request, answer, 1);
  const ZRBObject* answerRoot = answer.GetObject("ROOT");
  if (answerRoot) pdmResult = answerRoot->GetSlotValue("ACTION_SUCCESS");
  const ZRBObject* nodeAnswer = success ? answer.GetObjectByPrivateUpdateId(object->GetKey()) : nullptr;
  if (!nodeAnswer) return 0;
  ProcessDesignTables(node, *nodeAnswer, answer);
  for (const CADString& key : nodeAnswer->GetSlotValueList("TABLES")) {
    const ZRBObject* table = answer.GetObject(key);
    if (!table) continue;
    // The PDM refused this table: the row fails, and the table stays as it was for a later run.
    for (const char* slot : {"LINK_SUCCESS", "REMOVE_SUCCESS", "TABLE_UPD_SUCCESS"})
      if (table->GetSlotValue(slot) == "0") return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBSynchronizeCmd::WriteSyncRequest(ZRBObjectManager& request, const CADIProduct_var& node,
                                        const CADIProduct_var& father, bool product) {
  ZRBObject* root = ZRBPdmRequest::AddRoot(request);
  ZRBObject* object = root ? request.CreateObject("") : nullptr;
  if (!object) return 0;
  root->SetSlotValue("CREATING_SYSTEM", "CADHOST");
  root->SetSlotValue("FILEVERSION", "1");
  root->SetSlotValue("CADCLASSNAME", product ? "CADProduct" : "CADPart");
  root->SetSlotValue("PROCESS", product ? "SyncCADProduct" : "SyncCADPart");
  root->SlotAppend("SUBASSEMBLIES", object->GetKey());

  int status = 0;
  if (WriteProduct(request, node, object, status) < 0 || status < 0) return 0;
  int state = 0;
  GetProductState(node, state);
  CADString stateText;
  StringifyProductState(state, stateText);
  object->SetSlotValue("UNIT", "1.0");
  object->SetSlotValue("STATE", stateText);
  const bool newItem = Ref(node, "ZRB_OBID").IsEmpty();
  const bool instantiate = father && !ZRBCommandStates::IsWorkbenchProduct(father) &&
                           !Ref(father, "ZRB_OBID").IsEmpty() && !(Inst(father, node, "ZRB_INSTANCE_IN_ZRB") == "1");
  if (father) {
    Put(object, "PARENT_OBID", Ref(father, "ZRB_OBID"));
    Put(object, "PARENT_DB_NAME", Ref(father, "ZRB_DB_NAME"));
  }
  object->SetSlotValue("INSTANTIATE_IN_PDM", instantiate ? "1" : "0");
  Put(object, "PARTCATEGORY", Ref(node, "ZRB_PART_CGY_FOR_VALIDATE"));
  if (product) {
    if (newItem) {
      object->SetSlotValue("CLASSNAME", "Part");
      object->SetSlotValue("CREATE_PROD_IN_PDM", "1");
    }
    CADListValCADString keys;
    for (const CADBaseUnknown_var& item : node->GetChildren())
      WriteChildObject(request, node, CADIProduct_var(item), keys);
    if (keys.Size() > 0) object->SetSlotValueList("SUBASSEMBLIES", keys);
    return 1;
  }
  const CADUnicodeString type = GlobPropertyManager.GetProductType(node);
  const CADString className = PartClass(node, type, object);
  if (className.IsEmpty() && Ref(node, "ZRB_CLASSNAME").IsEmpty()) {
    ZRB_DEBUG("ZRB ERROR: Unknown product type.");
    return 0;
  }
  if (newItem && !className.IsEmpty()) object->SetSlotValue("CLASSNAME", className);
  object->SetSlotValue("PREPARE_IN_PDM", "0");
  object->SetSlotValue("LINK_IN_PDM", "0");
  Put(object, "PRODUCT_OBID", Ref(node, "ZRB_PRODUCT_OBID"));
  Put(object, "PRODUCT_CLASSNAME", Ref(node, "ZRB_PRODUCT_CLASSNAME"));
  Put(object, "PRODUCT_DBNAME", Ref(node, "ZRB_PRODUCT_DB_NAME"));
  return 1;
}

void ZRBSynchronizeCmd::WriteChildObject(ZRBObjectManager& request, const CADIProduct_var& node,
                                         const CADIProduct_var& child, CADListValCADString& keys) {
  if (!child) return;
  if (Ref(child, "ZRB_ROOT_USED_FROM_PDM") == "1" || Ref(child, "ZRB_OBID").IsEmpty()) {
    // Not in the PDM yet (its own row failed or is still to come): it is linked by a later update.
    ZRB_DEBUG("DoUpdateCreateCADProduct -> ignoring child: %s", InstanceName(child).c_str());
    return;
  }
  ZRBObject* object = request.CreateObject("");
  if (!object) return;
  Put(object, "OBID", Ref(child, "ZRB_OBID"));
  Put(object, "DB_NAME", Ref(child, "ZRB_DB_NAME"));
  Put(object, "CLASSNAME", Ref(child, "ZRB_CLASSNAME"));
  Put(object, "PARTNUMBER", child->GetPartNumber());
  Put(object, "INSTANCENAME", InstanceName(child));
  Put(object, "IS_STD_PART", Ref(child, "ZRB_IS_STD_PART"));
  Put(object, "REL_OBID", Inst(node, child, "ZRB_RELATION"));
  Put(object, "MATRIX_INDEX", Inst(node, child, "ZRB_MATRIX_INDEX"));
  const bool linked = Inst(node, child, "ZRB_INSTANCE_IN_ZRB") == "1";
  object->SetSlotValue("INSTANTIATE_IN_PDM", linked ? "0" : "1");
  object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", object->GetKey());
  SetProductTrafoToZRBObject(object, child, node);
  keys.Append(object->GetKey());
}

// ---------------------------------------------------------------- the answer

void ZRBSynchronizeCmd::ProcessChildInstanceInfo(const CADIProduct_var& node, const ZRBObject& nodeAnswer,
                                                 ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBSynchronizeCmd::ProcessChildInstanceInfo");
  struct Asked {
    const char* request;
    const char* success;
  };
  static constexpr Asked kAsked[] = {{"INSTANTIATE_IN_PDM", "INSTANTIATE_SUCCESS"},
                                     {"LINK_IN_PDM", "LINK_SUCCESS"},
                                     {"CREATE_PART_IN_PDM", "CREATE_PART_SUCCESS"},
                                     {"UPD_MATRIX", "UPD_MATRIX_SUCCESS"}};
  const CADListValCADString keys = nodeAnswer.GetSlotValueList("SUBASSEMBLIES");
  for (const CADString& key : keys) {
    const ZRBObject* object = answer.GetObject(key);
    if (!object) continue;
    bool confirmed = false;
    for (const Asked& asked : kAsked)
      if (object->GetSlotValue(asked.request) == "1" && object->GetSlotValue(asked.success) == "1") confirmed = true;
    if (!confirmed) continue;
    CADUnicodeString name(object->GetSlotValue("CAD_ORIG_INSTANCENAME"));
    if (name.IsEmpty()) name = CADUnicodeString(object->GetSlotValue("INSTANCENAME"));
    CADIProduct_var child;
    for (const CADBaseUnknown_var& item : node->GetChildren())
      if (CADIProduct_var candidate(item); candidate && InstanceName(candidate) == name) child = candidate;
    if (!child) continue;
    const auto setInstance = [&](const char* property, const char* slot) {
      const CADString value = object->GetSlotValue(slot);
      if (!value.IsEmpty()) GlobPropertyManager.SetInstanceProperty(node, child, property, CADUnicodeString(value));
    };
    setInstance("ZRB_RELATION", "DOCREL_ID");
    setInstance("ZRB_RELATION", "REL_OBID");
    setInstance("ZRB_REL_DB_NAME", "REL_DB_NAME");
    setInstance("ZRB_ORIG_MATRIX", "MATRIX");
    setInstance("ZRB_MATRIX_INDEX", "MATRIX_INDEX");
    setInstance("ZRB_DOCREL_DESC", "DOCREL_DESC");
    GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_INSTANCE_IN_ZRB", "1");
    GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_KEEP_AS_NEW", "");
    const auto setReference = [&](const char* property, const char* slot) {
      const CADString value = object->GetSlotValue(slot);
      if (!value.IsEmpty()) GlobPropertyManager.SetReferenceProperty(child, property, CADUnicodeString(value));
    };
    setReference("ZRB_OBID", "OBID");
    setReference("ZRB_DB_NAME", "DB_NAME");
    setReference("ZRB_CLASSNAME", "CLASSNAME");
    setReference("ZRB_ISCOMPONENT", "ISCOMPONENT");
    const CADString newName = object->GetSlotValue("NEW_MODEL_INSTANCE_NAME");
    if (!newName.IsEmpty() && !(Ref(child, "ZRB_IS_STD_PART") == "1")) {
      ZRB_DEBUG("ZRB: New ProductInstanceName %s", newName.c_str());
      child->SetPrdInstanceName(CADUnicodeString(newName));
    }
  }
  ZRB_TRACE_OK();
}

void ZRBSynchronizeCmd::RecordLinkedChildren(const CADIProduct_var& node) {
  SetOrigChildsToProp(node.get());
  // A child not linked yet stays out of the record, so it is still an added child for the next save.
  std::vector<int> unlinked;
  int index = 0;
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    ++index;
    if (!(Inst(node, child, "ZRB_INSTANCE_IN_ZRB") == "1")) unlinked.push_back(index);
  }
  if (unlinked.empty()) return;
  for (const char* name : ZRBOrigChildRecord::kNames) {
    const CADListValCADUnicodeString items = ZRBListText::Split(Ref(node, name).view());
    CADListValCADUnicodeString kept;
    for (int i = 1; i <= items.Size(); ++i)
      if (std::find(unlinked.begin(), unlinked.end(), i) == unlinked.end()) kept.Append(items[i]);
    GlobPropertyManager.SetReferenceProperty(node, name, ZRBListText::Join(kept));
  }
}

void ZRBSynchronizeCmd::KeepUnsentPositions(const CADIProduct_var& node, ZRBObjectManager& request) {
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    const CADUnicodeString key = GlobPropertyManager.GetPathToRootProperty(child, "ZRB_PRIVATE_UPDATE_ID");
    const ZRBObject* object = key.IsEmpty() ? nullptr : request.GetObjectByPrivateUpdateId(key.ConvertToString());
    if (object && object->GetSlotValue("UPD_MATRIX") == "1") KeepPositionToSend(node, child);
    GlobPropertyManager.DeletePathToRootProperty(child, "ZRB_PRIVATE_UPDATE_ID");
  }
}

// ---------------------------------------------------------------- the end of the list

ZRBSyncResult ZRBSynchronizeCmd::Finish(bool drawing, CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBSynchronizeCmd::Finish");
  ZRBSyncResult result = ZRBSyncResult::Succeeded;
  if (!instances_.Empty() && !IsOn("ZRB_DISABLE_UPDATE_WB") && !UpdateWBInPdm(messages))
    result = ZRBSyncResult::Warning;
  if (drawing) return result;
  SaveVirtualRoot();
  auto* update = ZRBFollowOnCommands::Create<ZRBUpdateCmd>(*this, "ZRBUpdateCmd", 1, 1, 1);
  update->SetSupressInteraction(1);
  // A row that did not run (set to "no" or refused by a rule) keeps its node out of the final update as well.
  bool rootLeftOut = false;
  for (int i = 0; i < jobs_.Size(); ++i) {
    const ZRBSyncJob& job = jobs_.At(i);
    if (job.object != ZRBSyncObject::Product || job.execute == ZRBSyncExecute::Yes || !job.product) continue;
    update->LeaveOut(job.product);
    if (!ZRBPSNTreeUtil::GetFatherProduct(job.product)) rootLeftOut = true;
  }
  if (rootLeftOut) {
    ZRB_DEBUG("ZRB: the root's row did not run; no final update");
    update->Release();
    return result;
  }
  int status = 0;
  const int done = update->UpdatePdm(status);
  for (const CADUnicodeString& line : update->GetWarnings()) messages.Append(line);
  update->Release();
  ApplyClientMode();
  if (status == ZRBUpdateCmd::kNothingToSave || done) return result;
  return ZRBSyncResult::Failed;
}

int ZRBSynchronizeCmd::SaveVirtualRoot() {
  int saveVp = 0;
  const bool wanted = IsOn("ZRB_ENABLE_VP_SAVE") ||
                      (SUCCEEDED(CADSettingRepository::ReadSetting("ZRBOptions", "SaveVP", &saveVp)) && saveVp == 1);
  CADIProduct_var root;
  // The document may have been closed while the dialog was open: it is looked up again, never trusted.
  CADDocument* document = wanted ? CADDocumentServices::GetDocumentInSession(documentPath_) : nullptr;
  if (!document || FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 0;
  if (!document->IsDirty()) {
    ZRB_DEBUG("ZRB: Root product document is not dirty");
    return 0;
  }
  // Only the workbench (or the root that stands for a workbench session) is a virtual root: any other root not
  // in the PDM is a new product whose own row decides about it, and it stays where the designer keeps it.
  const bool virtualRoot = ZRBCommandStates::IsWorkbenchProduct(root) || !Ref(root, "ZRB_WBSESSOBID").IsEmpty();
  if (!virtualRoot || !Ref(root, "ZRB_OBID").IsEmpty()) {
    ZRB_DEBUG("ZRB: Root product document is not a virtual root");
    return 0;
  }
  ZRBXmapHostServices services;
  for (const CADBaseUnknown_var& item : root->GetChildren()) {
    unsigned char dirty = 0;
    if (CADIProduct_var child(item); child) services.GetDirtyFlagForProduct(dirty, child, 1, 1);
    if (dirty) {
      ZRB_DEBUG("ZRB: A direct child is dirty - not saving virtual root");
      return 0;
    }
  }
  ZRB_DEBUG("ZRB: Saving virtual root CADProduct to xmap");
  if (FAILED(ZRBXmapDocuments::SaveDocumentInExmap(services, document))) {
    ZRB_DEBUG("ZRB ERROR - SaveVirtualRoot FAILED");
    return 0;
  }
  return 1;
}

int ZRBSynchronizeCmd::UpdateWBInPdm(CADListValCADUnicodeString& messages) {
  ZRB_TRACE("ZRBSynchronizeCmd::UpdateWBInPdm");
  instances_.Dump();
  ZRBObjectManager request;
  if (!instances_.BuildObjMgrForUpdateWB(request)) return 0;
  request.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "0");
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString path = xmap + CADUnicodeString("UpdWbfile.zrb");
  CADUnicodeString parameter = path;
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    messages.Append(BuildMessage("ZRBUpdateCmd", "NoFileAccess", &parameter, 1));
    return 0;
  }
  if (RunPdmAction(ZRBPdmAction::UpdateWBFromFile, ZRBPdmAction::Line(ZRBPdmAction::UpdateWBFromFile, path)) < 0) {
    messages.Append(BuildMessage("ZRBAfx", "ConnectFailed"));
    return 0;
  }
  ZRBObjectManager answer;
  const ZRBObject* root = answer.Read(path) ? answer.GetObject("ROOT") : nullptr;
  if (!root) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    return 0;
  }
  ZRBPdmRequest::AddStats(*root, messages);
  const int done = ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(root, ZRBPdmStep::OneStep)) ? 1 : 0;
  if (done) instances_ = ZRBInstanceList();
  if (done) ZRB_TRACE_OK();
  return done;
}

int ZRBSynchronizeCmd::Validate(const ZRBSyncJobList& jobs, bool& allValid, CADListValCADUnicodeString& refusals) {
  ZRB_TRACE("ZRBSynchronizeCmd::Validate");
  ZRBObjectManager request;
  CreateValidationRootObject(request);
  for (int i = 0; i < jobs.Size(); ++i) {
    ZRBObject* object = request.CreateObject(CADString(std::to_string(i + 1)));
    if (jobs.At(i).product) AddNodeValidationDataToZRBObject(object, jobs.At(i).product);
  }
  ZRBObjectManager answer;
  int result = 0;
  if (ExecuteValidation(request, &answer, &result) < 0) return -1;
  allValid = result == 1;
  for (int i = 0; i < jobs.Size(); ++i) {
    const ZRBObject* object = answer.GetObject(CADString(std::to_string(i + 1)));
    const bool refused = object && !(object->GetSlotValue("VALIDATE_SUCCESS") == "1");
    refusals.Append(refused ? CADUnicodeString(object->GetSlotValue("VALIDATE_MSG")) : CADUnicodeString());
  }
  return 0;
}
