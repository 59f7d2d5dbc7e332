#include "ZRBUpdateCmd.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <tuple>

#include "CADClassDictionary.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADIDrawing.h"
#include "CADIParmPublisher.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBCache.h"
#include "ZRBCommandFactory.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDocPropertyTransfer.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadCmd.h"
#include "ZRBReplacingFile.h"
#include "ZRBStructureFileUpdate.h"
#include "ZRBTrace.h"
#include "ZRBUpdateArchiveCheck.h"

ZRBUpdateCmd* fctCreateZRBUpdateCmd(int mode) { return new ZRBUpdateCmd(mode); }

namespace {
// Created by name without an argument, the command gets its default mode.
const CADClassDictionary::Registration g_registration("ZRBUpdateCmd",
                                                      ZRBCommandFactory::WithDefaultMode(&fctCreateZRBUpdateCmd, 1));

constexpr unsigned long kQuestionStyle = 0x800200;
constexpr unsigned long kRemovedQuestionStyle = 0x8800200;
constexpr int kAnswerStop = 4;
constexpr unsigned long kNoReadStyle = 0x8000200;

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

// The instance path below the root, "/"-separated, for the messages that name a node.
CADUnicodeString PathOf(const CADIProduct_var& product) {
  std::string path;
  for (CADIProduct_var node = product; node; node = ZRBPSNTreeUtil::GetFatherProduct(node)) {
    if (!ZRBPSNTreeUtil::GetFatherProduct(node)) break;
    path = "/" + InstanceName(node).str() + path;
  }
  return CADUnicodeString(path.empty() ? std::string("/") : path);
}

// Whether the PDM's design-table setting matters for a part saved alone: without tables, known or present, there
// is nothing to send, and the PDM need not be asked for the setting.
bool MayHaveDesignTables(const CADIProduct_var& part) {
  if (!GlobPropertyManager.GetReferenceProperty(part, "ZRB_DESIGNTABLES").IsEmpty()) return true;
  CADIParmPublisher_var publisher(part.get());
  CADListValCADBaseUnknown_var tables;
  return publisher && SUCCEEDED(publisher->ListDesignTables(tables)) && tables.Size() > 0;
}
}  // namespace

int ZRBUpdateCmd::Ask(std::string_view key, unsigned long style, CADUnicodeString* parameters, int count) {
  if (suppressInteraction_ || modes_.noInteraction) {
    AddUpdateMessage(key, parameters, count);
    return 0;
  }
  return ShowMessage("ZRBUpdateCmd", key, style, parameters, count);
}

int ZRBUpdateCmd::Stop(const char* trace) {
  ZRB_DEBUG("%s", trace);
  AddUpdateMessage("ActionStopped");
  return 0;
}

// ---------------------------------------------------------------- lifecycle

void ZRBUpdateCmd::ApplyDataModelFlags(int mode) {
  // Every update starts outside the extended variant unless its own mode asks for it.
  ZRBInfoUtil::SetEZRBUpdateCreateFlag(mode == 5 ? 1 : 0);
  ZRBInfoUtil::SetEZRBUpdateFlag(mode == 6 ? 1 : 0);
}

ZRBOneStepCommand::Outcome ZRBUpdateCmd::Work() {
  ZRB_TRACE("ZRBUpdateCmd::Work");
  // The extended structure-file variant works on a structure file that a read left behind.
  if ((modes_.eZrbUpdateCreate || modes_.extendedUpdate) && ZRBInfoUtil::GetDataModelValue().IsEmpty()) {
    if (suppressInteraction_ || modes_.noInteraction)
      AddUpdateMessage("NoUpdateWithoutRead");
    else
      ShowMessage("ZRBUpdateCmd", "NoUpdateWithoutRead", kNoReadStyle);
    return Outcome::Stopped;
  }
  ZRBAfx::SetShowMsg(1);
  if (IsOn("ZRB_CREATE_SPECPARTS_IN_UPDATE"))
    ZRB_DEBUG("ZRB: Environment variable ZRB_CREATE_SPECPARTS_IN_UPDATE is ON");
  CADUnicodeString invalid;
  if (CheckPartNumberInActWindow(invalid) < 0) {
    if (Ask("PartNumberNotValid", kQuestionStyle, &invalid, 1) == kAnswerStop) {
      ZRB_DEBUG("Invalid Partnumber found");
      return Outcome::Stopped;
    }
    ZRB_DEBUG("User wants to continue");
  }
  int status = 0;
  const int done = UpdatePdm(status);
  if (status == kNothingToSave) return Outcome::Stopped;
  if (status == kAwaitingSelection) return Outcome::Continues;
  ZRB_TRACE_OK();
  return done ? Outcome::Succeeded : Outcome::Failed;
}

void ZRBUpdateCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBUpdateCmd", "UpdateOk"),
                       BuildMessage("ZRBUpdateCmd", "UpdateFailed"), 0);
}

// ---------------------------------------------------------------- dispatch

int ZRBUpdateCmd::UpdatePdm(int& status) {
  CADFrmEditor* editor = GetEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRBUpdateCmd: No active document found!");
    return 0;
  }
  ZRB_DEBUG("ZRBUpdateCmd: Active Document is %s", document->StorageName().c_str());
  const CADUnicodeString type = document->GetType();
  if (type == "CADProduct") return UpdateProductDocument(document, status);
  if (type == "CADPart") {
    CADIProduct_var root;
    ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root);
    // A component part is saved with its product document, through the product path.
    if (root && (GlobPropertyManager.GetReferenceProperty(root, "ZRB_ISCOMPONENT") == "1" ||
                 GlobPropertyManager.IsArchiveRoot(root)))
      return UpdateProductDocument(document, status);
  }
  if (type == "CADPart") return UpdateSingleDocument(document, false, status);
  if (type == "CADDrawing") return UpdateSingleDocument(document, true, status);
  if (type == "CADProcess") return UpdateFileDocument(document, FileKind::Process, status);
  if (type == "CADAnalysis") return UpdateFileDocument(document, FileKind::Analysis, status);
  ZRB_DEBUG("ZRBUpdateCmd: saving a %s is not available yet", type.c_str());
  return 0;
}

int ZRBUpdateCmd::UpdateProductDocument(CADDocument* document, int& status) {
  ZRB_TRACE("ZRBUpdateCmd::UpdateProductDocument");
  CADIProduct_var root;
  if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root) return 0;
  const bool virtualRoot = ZRBPSNTreeUtil::IsWorkbenchProduct(root) ||
                           !GlobPropertyManager.GetReferenceProperty(root, "ZRB_WBSESSOBID").IsEmpty();
  if (!virtualRoot && !ZRBPSNTreeUtil::WasLoadedFromPdm(root) && !GlobPropertyManager.IsArchiveRoot(root)) {
    AddUpdateMessage("UpdateCheckFailedPre");
    GetWarnings().Append(root->GetPartNumber() + CADUnicodeString(" / (") + document->StorageName() +
                         CADUnicodeString(")"));
    GetWarnings().Append("---------------");
    AddUpdateMessage("UpdateCheckFailedPostRoot");
    return 0;
  }
  int stop = 0;
  CheckStructureIsUpToDate(root, &stop);
  if (stop) return 0;

  ZRBObjectManager request;
  ZRBObject* rootObject = ZRBPdmRequest::AddRoot(request);
  if (!rootObject) return 0;
  if (!UpdateProduct(root, request, rootObject, status) || status < 0) {
    // Nothing was sent: whatever the writing saved or marked goes back as it was.
    ProcessSaveFlags(0, request);
    return 0;
  }
  if (CreateUpdatePosSelectDialog(request, root)) {
    status = kAwaitingSelection;
    return 1;
  }
  const int done = UpdateProductDocumentPost(request, root, status);
  ZRB_TRACE_OK();
  return done;
}

// ---------------------------------------------------------------- the stop checks

int ZRBUpdateCmd::UseExchangeMapOf(const CADIProduct_var& root) {
  const CADUnicodeString xmap = GlobPropertyManager.GetReferenceProperty(root, "sZRB_XMAP");
  if (xmap.IsEmpty()) return 1;
  std::error_code error;
  const std::filesystem::path path(xmap.str());
  // The value comes from the PDM's structure: only an existing absolute directory may redirect the save.
  if (!path.is_absolute() || !std::filesystem::is_directory(path, error)) {
    ZRB_DEBUG("ZRB: sZRB_XMAP '%s' is not an existing absolute directory", xmap.c_str());
    return 0;
  }
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", xmap.c_str(), 1);
  return 1;
}

int ZRBUpdateCmd::CheckProductsNotFromPdm(const CADIProduct_var& root) {
  int result = 1;
  const bool fromPdm = ZRBPSNTreeUtil::WasLoadedFromPdm(root) || ZRBPSNTreeUtil::IsWorkbenchProduct(root);
  for (const CADBaseUnknown_var& item : root->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (!ZRBPSNTreeUtil::WasLoadedFromPdm(child)) {
      // A new part is created by the save; a whole structure not from the PDM is not.
      const bool structure = GlobPropertyManager.GetProductType(child) == "CADProduct" && child->GetChildrenCount() > 0;
      if (fromPdm && structure && !ZRBPSNTreeUtil::IsWorkbenchProduct(root)) {
        CADUnicodeString parameter = CADUnicodeString("(") + PathOf(child) + CADUnicodeString(")");
        if (result) AddUpdateMessage("UpdateCheckFailedPre");
        AddUpdateMessage("StructureNotFromPdm", &parameter, 1);
        result = 0;
      }
      continue;
    }
    if (!CheckProductsNotFromPdm(child)) result = 0;
  }
  return result;
}

int ZRBUpdateCmd::CheckInvalidPositions(const CADIProduct_var& root) {
  CADListValCADUnicodeString parents, children, instances;
  int found = 0;
  ZRBPSNTreeUtil::UnselectInstancesInActWindow();
  CheckForInvalidPosOfProduct(root.get(), parents, children, instances, found);
  if (!found) return 1;
  // A shared subassembly reports its instances once per use; the designer needs each once.
  std::set<std::tuple<std::string, std::string, std::string>> reported;
  for (int i = 1; i <= parents.Size() && i <= children.Size() && i <= instances.Size(); ++i) {
    if (!reported.emplace(parents[i].str(), children[i].str(), instances[i].str()).second) continue;
    CADUnicodeString parameters[3] = {parents[i], children[i], instances[i]};
    AddUpdateMessage("ErrorInvalidPosition", parameters, 3);
  }
  AddUpdateMessage("PleaseResetInvalid");
  ZRB_DEBUG("One ore more Positions are invalid");
  return 0;
}

int ZRBUpdateCmd::UpdateProduct(const CADIProduct_var& root, ZRBObjectManager& request, ZRBObject* rootObject,
                                int& status) {
  ZRB_TRACE("ZRBUpdateCmd::UpdateProduct");
  if (!root || !rootObject) return 0;
  if (!UseExchangeMapOf(root)) return Stop("ZRB: exchange map of the structure refused");
  if (!CheckProductsNotFromPdm(root)) {
    AddUpdateMessage("UpdateCheckFailedPost");
    return Stop("ZRB: structure not from the PDM");
  }
  const int stopAtFirst = (modes_.validation && IsOn("ZRB_ENABLE_VALIDATE_BEFORE_UPD")) ? 0 : 1;
  CADListValCADBaseUnknown_var removed;
  CheckForDeletedProducts(root.get(), stopAtFirst, removed);
  if (removed.Size() > 0) {
    ZRB_DEBUG("One ore more Products have been removed from the Structure");
    if (Ask("ProductRemoved", kRemovedQuestionStyle) == kAnswerStop) return Stop("ZRB: removed products: stopped");
  }
  int archiveFailed = 0;
  CADUnicodeString archiveLines;
  ZRBUpdateArchiveCheck::CheckForArchiveValidation(*this, root, archiveFailed, archiveLines);
  if (archiveFailed) {
    ZRB_DEBUG("The Validation of one or more ZRB Archives failed");
    // Only a designer who says go on sends an archive that did not validate; without interaction it stays.
    if (Ask("ArchiveValidationFailed", kRemovedQuestionStyle, &archiveLines, 1) != 3)
      return Stop("ZRB: archive validation failed: stopped");
  }
  int replaced = 0;
  CheckForReplacedProducts(root.get(), replaced);
  if (replaced) {
    ZRB_DEBUG("One ore more Products have been replaced");
    AddUpdateMessage("ProductReplaced");
  }
  if (IsOn("ZRB_ENABLE_CHECK_INVALID_POS") && !modes_.partOnly && !CheckInvalidPositions(root))
    return Stop("ZRB: invalid positions");
  const int written = WriteProductStructure(request, root, rootObject, status);
  ZRB_TRACE_OK();
  return written;
}

// ---------------------------------------------------------------- writing

int ZRBUpdateCmd::WriteProductStructure(ZRBObjectManager& request, const CADIProduct_var& node, ZRBObject* object,
                                        int& status) {
  if (WriteProduct(request, node, object, status) < 0) status = -1;
  const bool leaf = GlobPropertyManager.GetReferenceProperty(node, "ZRB_IS_SENDING_PRODUCT") == "1" ||
                    GlobPropertyManager.GetReferenceProperty(node, "ZRB_MULTI_EMBEDDED") == "1" ||
                    GlobPropertyManager.IsArchiveRoot(node) || object->GetSlotValue("IS_STD_PART") == "1" ||
                    GlobPropertyManager.IsCachedPart(node);
  if (GlobPropertyManager.IsArchiveRoot(node) && !ZRBUpdateArchiveCheck::WriteArchive(*this, request, node, object))
    status = -1;
  if (leaf) {
    ZRB_DEBUG("Found Standard Part or Archive root Ignoring children");
    return 1;
  }
  const bool workbench = ZRBPSNTreeUtil::IsWorkbenchProduct(node) != 0;
  CADListValCADString keys;
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (workbench && !ZRBPSNTreeUtil::WasLoadedFromPdm(child)) {
      ZRB_DEBUG("ZRB: Ignoring non-ZRB tree attached to virtual root");
      CADUnicodeString parameter = CADUnicodeString("(") + PathOf(child) + CADUnicodeString(")");
      AddUpdateMessage("NotFromPdm", &parameter, 1);
      continue;
    }
    if (IsLeftOut(child)) {
      // Unsent, so its document stays modified and a later save still finds it.
      ZRB_DEBUG("ZRB: leaving out %s and its children", child->GetPartNumber().c_str());
      continue;
    }
    ZRBObject* childObject = request.CreateObject("");
    if (!childObject) return 0;
    if (!WriteProductStructure(request, child, childObject, status)) return 0;
    keys.Append(childObject->GetKey());
    if (modes_.partOnly)
      ZRB_DEBUG("ZRBUpdateCmd(WriteProductStructure): UpdatePart selected, don't save the trafo");
    else
      SetProductTrafoToZRBObject(childObject, child, node);
  }
  if (keys.Size() > 0) object->SetSlotValueList("SUBASSEMBLIES", keys);
  return 1;
}

bool ZRBUpdateCmd::IsLeftOut(const CADIProduct_var& node) const {
  for (const CADIProduct_var& left : leftOut_)
    if (left.get() == node.get()) return true;
  return false;
}

// ---------------------------------------------------------------- sending and the answer

int ZRBUpdateCmd::WriteRequestFile(ZRBObjectManager& request, CADUnicodeString& path) {
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  path = xmap + CADUnicodeString("ifile.zrb");
  // An old answer must never be read as this one's.
  if (ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) {
    ZRB_DEBUG("ZRB: CADDeleteFile(%s) failed", path.c_str());
    CADUnicodeString parameter = path;
    AddUpdateMessage("NoFileAccess", &parameter, 1);
    return 0;
  }
  if (!request.Write(path)) {
    ZRB_DEBUG("ZRB: could not write the request %s", path.c_str());
    CADUnicodeString parameter = path;
    AddUpdateMessage("NoFileAccess", &parameter, 1);
    return 0;
  }
  return 1;
}

int ZRBUpdateCmd::SendUpdate(ZRBObjectManager& request, ZRBObjectManager& answer, int keepDisplayAlive) {
  ZRB_TRACE("ZRBUpdateCmd::SendUpdate");
  CADUnicodeString path;
  if (!WriteRequestFile(request, path)) return 0;
  ZRBAfx::SetWorkBenchWindowTop();
  const int run = RunPdmAction(ZRBPdmAction::UpdateFromFile, ZRBPdmAction::Line(ZRBPdmAction::UpdateFromFile, path),
                               keepDisplayAlive);
  ZRBAfx::SetCadWindowTop();
  if (run < 0) return 0;
  const ZRBObject* answerRoot = nullptr;
  // A cut-off answer may still say "1" in its "ROOT": only a whole one is taken.
  if (!ZRBPdmRequest::ReadWholeAnswer(path, answer) || !(answerRoot = answer.GetObject("ROOT"))) {
    ZRB_DEBUG("ZRB: ZRB exchangefile not found");
    GetWarnings().Append(BuildMessage("ZRBAfx", "ConnectFailed"));
    return 0;
  }
  const ZRBPdmResult result = ZRBPdmRequest::ReadResult(answerRoot, ZRBPdmStep::OneStep);
  if (result == ZRBPdmResult::CancelledByUser) ZRB_DEBUG("ZRB: update canceled - restoring dirty states.");
  if (result == ZRBPdmResult::SucceededWithRemarks) ZRB_DEBUG("ZRB: update ended with warnings.");
  if (result == ZRBPdmResult::Failed) ZRB_DEBUG("ZRB: UpdateCommand in PDM failed!");
  ZRB_DEBUG("ZRB: Get STATS from object manager");
  ZRBPdmRequest::AddStats(*answerRoot, GetWarnings());
  const int success = ZRBPdmRequest::IsSuccess(result) ? 1 : 0;
  if (success) ZRB_TRACE_OK();
  return success;
}

int ZRBUpdateCmd::UpdateProductDocumentPost(ZRBObjectManager& request, const CADIProduct_var& root, int& status) {
  ZRB_TRACE("ZRBUpdateCmd::UpdateProductDocumentPost");
  if (modes_.sZrbUpdate || modes_.eZrbUpdateCreate) return UpdateStructureFile(request, root, status);
  ZRBObjectManager answer;
  const int success = SendUpdate(request, answer);
  if (success) {
    ProcessNewPartFlags(root, answer);
    ProcessProductFlags(root, answer);
    RecordSavedChildren(root, answer);
    ZRBUpdateArchiveCheck::ReadArchiveAnswers(root, answer);
  }
  // What was written is judged by the request on failure: a partial answer may lack the objects.
  ProcessSaveFlags(success, success ? answer : request);
  if (!success) status = -1;
  if (success) ZRB_TRACE_OK();
  return success;
}

int ZRBUpdateCmd::UpdateStructureFile(ZRBObjectManager& request, const CADIProduct_var& root, int& status) {
  ZRB_TRACE("ZRBUpdateCmd::UpdateStructureFile");
  const bool extended = modes_.extendedUpdate || modes_.eZrbUpdateCreate;
  // The structure file stands in for the PDM: the request is written for the record, no PDM session is run,
  // and what the request asks for is done in the file.
  CADUnicodeString path;
  ZRBStructureFileUpdate merge(extended, GetWarnings());
  int success = WriteRequestFile(request, path);
  if (success) {
    ZRBAfx::SetWorkBenchWindowTop();
    success = merge.UpdateWithoutPdm(request);
    ZRB_DEBUG(success ? "ZRB: UpdateSZRBStructure succeded" : "ZRB: UpdateSZRBStructure failed");
  }
  if (success) {
    ProcessNewPartFlags(root, request);
    ProcessProductFlags(root, request);
    RecordSavedChildren(root, request);
  }
  ProcessSaveFlags(success, request);
  // The session is rebuilt from the file, so that it shows the placeholders the file now holds.
  // The file holds the save and the session took the answer, so both stand; but the windows may now show less
  // than the file, and the designer must know before working on.
  if (success && extended && !RereadStructureFile(true, "EZRB ")) {
    CADUnicodeString file;
    ZRBAfx::GetXMapWithEndingSlash(file);
    file = file + merge.FileName();
    AddUpdateMessage("StructureNotReread", &file, 1);
  }
  if (!success) status = -1;
  if (success) ZRB_TRACE_OK();
  return success;
}

int ZRBUpdateCmd::RereadStructureFile(bool extended, const char* label) {
  auto* read = new ZRBReadCmd(extended ? 4 : 3, 0, 100, "ZRBReadCmd");
  const int reread = read->CreateProductStructure();
  read->ReSetTimestampSetting();
  ZRB_DEBUG("%s IN REREAD OF %sSTRUCTUREFILE", reread ? "SUCCESS" : "FAILURE", label);
  for (const CADUnicodeString& line : read->GetWarnings()) GetWarnings().Append(line);
  read->SetResult(CADCommandResult::None);
  read->RequestDelayedDestruction();
  return reread;
}

int ZRBUpdateCmd::RecordInStructureFile(ZRBObjectManager& request, FileKind kind) {
  ZRB_TRACE("ZRBUpdateCmd::RecordInStructureFile");
  const bool extended = modes_.extendedUpdate || modes_.eZrbUpdateCreate;
  CADUnicodeString path;
  if (!WriteRequestFile(request, path)) return 0;
  ZRBAfx::SetWorkBenchWindowTop();
  ZRBStructureFileUpdate merge(extended, GetWarnings());
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const std::string file = (xmap + merge.FileName()).str();
  // Kept to put back: a file the session cannot read again must not keep a save the session takes back.
  std::ifstream in(file, std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool readable = in.good() || in.eof();
  in.close();
  if (!merge.UpdateWithoutPdm(request)) {
    ZRB_DEBUG("ZRB: UpdateSZRBStructure failed");
    return 0;
  }
  ZRB_DEBUG("ZRB: UpdateSZRBStructure succeded");
  // A drawing names the plain file in its traces; a part follows the product path.
  if (RereadStructureFile(extended, kind == FileKind::Part && extended ? "EZRB " : "")) {
    ZRB_TRACE_OK();
    return 1;
  }
  if (!readable || !ZRBReplacingFile::WriteWhole(file, before))
    ZRB_DEBUG("ZRB: could not put back the structure file %s", file.c_str());
  CADUnicodeString parameter(file);
  AddUpdateMessage("RereadFailed", &parameter, 1);
  return 0;
}

int ZRBUpdateCmd::UpdateSingleDocument(CADDocument* document, bool drawing, int& status) {
  return UpdateFileDocument(document, drawing ? FileKind::Drawing : FileKind::Part, status);
}

int ZRBUpdateCmd::UpdateFileDocument(CADDocument* document, FileKind kind, int& status) {
  ZRB_TRACE("ZRBUpdateCmd::UpdateFileDocument");
  const CADUnicodeString path = document->StorageName();
  CADIProduct_var root;
  if (kind == FileKind::Part && (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(document, &root)) || !root))
    return 0;
  // A part keeps its PDM identity on its reference, every other document on its file.
  const auto identity = [&](const char* name) {
    return kind == FileKind::Part ? GlobPropertyManager.GetReferenceProperty(root, name)
                                  : GlobPropertyManager.GetFileProperty(path, name);
  };
  CADUnicodeString parameter = path;
  const bool structureFile = modes_.sZrbUpdate || modes_.eZrbUpdateCreate;
  if (structureFile && (kind == FileKind::Process || kind == FileKind::Analysis)) {
    ZRB_DEBUG("ZRB: %s not saved: no structure-file save for it", path.c_str());
    AddUpdateMessage("NoStructureFileDocument", &parameter, 1);
    return 0;
  }
  if (identity("ZRB_OBID").IsEmpty()) {
    ZRB_DEBUG("Document not saved. Not from PDM.");
    AddUpdateMessage("FileNotFromPdm", &parameter, 1);
    return 0;
  }
  if (!IsFileDocumentModified(document, kind, root)) {
    ZRB_DEBUG("Document not modified. Nothing to save.");
    if (!suppressInteraction_ && !modes_.noInteraction)
      ShowMessage("ZRBUpdateCmd", "FileNothingChanged", kInformationStyle);
    status = kNothingToSave;
    return 0;
  }
  const char* changeable = kind == FileKind::Process    ? "ZRB_PROCESS_CHANGEABLE"
                           : kind == FileKind::Analysis ? "ZRB_ARCHIVE_CHANGEABLE"
                                                        : "ZRB_CHANGEABLE";
  if (!(identity(changeable) == "1")) {
    ZRB_DEBUG("Document update not allowed.");
    AddUpdateMessage(kind == FileKind::Analysis ? "ArchiveNoPermission" : "FileNoPermission", &parameter, 1);
    return 0;
  }
  if (kind == FileKind::Process && !CheckProcessChildrenFromPdm(document)) return 0;
  if (kind == FileKind::Part && CheckNodeIdentity(root, "WrongUuid", "AskAboutWrongUuid") <= 0) return 0;
  ZRBObjectManager request;
  ZRBObject* requestRoot = ZRBPdmRequest::AddRoot(request);
  ZRBObject* object = requestRoot ? request.CreateObject("") : nullptr;
  if (!object) return 0;
  if (kind == FileKind::Part || kind == FileKind::Drawing) {
    requestRoot->SetSlotValue("CREATING_SYSTEM", "CADHOST");
    requestRoot->SetSlotValue("FILEVERSION", "1");
  }
  requestRoot->SlotAppend("SUBASSEMBLIES", object->GetKey());
  if (!SaveForUpdate(document)) {
    if (kind == FileKind::Analysis) AddUpdateMessage("ArchiveUpdateFailed", &parameter, 1);
    ProcessSaveFlags(0, request);
    return 0;
  }
  const auto put = [&](const char* slot, const char* name) {
    const CADUnicodeString value = identity(name);
    if (!value.IsEmpty()) object->SetSlotValue(slot, value.ConvertToString());
  };
  put("OBID", "ZRB_OBID");
  put("CLASSNAME", "ZRB_CLASSNAME");
  put("DB_NAME", "ZRB_DB_NAME");
  put("CHANGEABLE", "ZRB_CHANGEABLE");
  if (kind == FileKind::Part) object->SetSlotValue("PARTNUMBER", root->GetPartNumber().ConvertToString());
  object->SetSlotValue("PATH", path.ConvertToString());
  const CADUnicodeString origin = GlobPropertyManager.GetFileProperty(path, "SAM_ORIG_LOCATION");
  if (kind == FileKind::Drawing && !origin.IsEmpty()) object->SetSlotValue("ORIG_LOCATION", origin.ConvertToString());
  if (kind == FileKind::Process) {
    put("PARTNUMBER", "ZRB_PARTNUMBER");
    put("NOMENCLATURE", "ZRB_NOMENCLATURE");
    // The process itself, beside the document that holds it.
    object->SetSlotValue("CADPROCESS", "1");
    for (const char* name : {"ZRB_PROCESS_OBID", "ZRB_PROCESS_CLASSNAME", "ZRB_PROCESS_DB_NAME"}) put(name, name);
    for (const char* name : {"ZRB_ORIGLOADCHILD_INSTANCES", "ZRB_ORIGLOADCHILD_PARTNUMBERS"}) {
      const CADListValCADUnicodeString items = ZRBListText::Split(identity(name).view());
      CADListValCADString values;
      for (const CADUnicodeString& item : items) values.Append(item.ConvertToString());
      if (values.Size() > 0) object->SetSlotValueList(name, values);
    }
  }
  if (kind == FileKind::Analysis) {
    object->SetSlotValue("CADCLASSNAME", "ZRBArchive");
    for (const char* name : {"ZRB_ARCHIVE_CONTENT_FILE_NAME", "ZRB_ARCHIVE_FILE", "ZRB_ARCHIVE_CHANGEABLE"})
      put(name, name);
  }
  object->SetSlotValue("UPD_GEOMETRY", "1");
  object->SetSlotValue("ZRB_PRIVATE_UPDATE_ID", object->GetKey());
  // A part saved alone carries its design tables as it would inside its structure.
  if (kind == FileKind::Part && !modes_.tablesApart && MayHaveDesignTables(root))
    WriteDesignTables(request, root, object);
  if (structureFile) DescribeForStructureFile(request, *object, document, kind, root);

  // In structure-file mode the request is carried out in the structure file: it becomes its own answer.
  ZRBObjectManager received;
  const int success = structureFile ? RecordInStructureFile(request, kind) : SendUpdate(request, received);
  ZRBObjectManager& answer = structureFile ? request : received;
  if (success) {
    const ZRBObject* answered = answer.GetObjectByPrivateUpdateId(object->GetKey());
    if (answered && kind == FileKind::Part) ProcessDesignTables(root, *answered, answer);
    if (answered && answered->GetSlotValue("MODEL_UPD_SUCCESS") == "1") {
      ZRB_DEBUG("MODEL_UPD_SUCCESS == 1");
      // The PDM has no new version to record: the exchange map's content stays as the PDM delivered it.
      if (!structureFile) GlobZRBCache.RegisterObjectFile(*answered, path);
      CADUnicodeString seconds;
      if (kind != FileKind::Drawing && IsOn("ZRB_ENABLE_CHECKMODTIMESTAMP") &&
          SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)))
        GlobPropertyManager.SetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME", seconds);
    } else {
      ZRB_DEBUG("MODEL_UPD_SUCCESS != 1");
      // The save went through as a whole, but the PDM refused this document: its work is still unsaved.
      if (answered && answered->GetSlotValue("MODEL_UPD_SUCCESS") == "0") {
        document->SetDirty(1);
        // For a drawing the PDM keeps the file as a document related to the drawing item.
        if (kind == FileKind::Drawing) AddUpdateMessage("ReleatedDocNotSaved", &parameter, 1);
      }
    }
  } else if (kind == FileKind::Process || kind == FileKind::Analysis) {
    ZRB_DEBUG("Restoring Dirty State for %s %s", kind == FileKind::Process ? "Process" : "Analysis", path.c_str());
  }
  ProcessSaveFlags(success, success ? answer : request);
  if (!success) status = -1;
  if (success) ZRB_TRACE_OK();
  return success;
}

void ZRBUpdateCmd::DescribeForStructureFile(ZRBObjectManager& request, ZRBObject& object, CADDocument* document,
                                            FileKind kind, const CADIProduct_var& root) {
  if (kind == FileKind::Drawing) {
    ZRBStructureFileUpdate::DescribeDrawing(*document, object);
    if (CADIDrawing_var view(document); view)
      ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, view, &object, document);
  } else if (kind == FileKind::Part && root) {
    object.SetSlotValue("CADCLASSNAME", "CADPart");
    ZRBDocPropertyTransfer::SetModelInfoToZRBObject(request, root, &object, document);
  }
}

bool ZRBUpdateCmd::IsFileDocumentModified(CADDocument* document, FileKind kind, const CADIProduct_var& root) {
  if (document->IsDirty()) return true;
  if (kind == FileKind::Drawing) {
    CADIDrawing_var view(document);
    return view && CheckIfReferenceOfDrawingIsDirty(view.get());
  }
  if (kind == FileKind::Part) {
    unsigned char dirty = 0;
    GetDirtyFlagForProduct(dirty, root.get(), 0, 0);
    return dirty != 0;
  }
  // A process changed outside this session shows only in its file's modification time.
  if (kind != FileKind::Process || !IsOn("ZRB_ENABLE_CHECKMODTIMESTAMP")) return false;
  const CADUnicodeString path = document->StorageName();
  const CADUnicodeString known = GlobPropertyManager.GetFileProperty(path, "ZRB_LAST_KNOWN_MOD_TIME");
  CADUnicodeString seconds;
  return !known.IsEmpty() && SUCCEEDED(ZRBFileUtil::GetLastModificationFromFile(path, seconds)) && !(seconds == known);
}

int ZRBUpdateCmd::CheckProcessChildrenFromPdm(CADDocument* process) {
  int result = 1;
  for (CADDocument* pointed : process->GetPointedDocuments()) {
    if (!pointed) continue;
    CADIProduct_var child;
    if (FAILED(ZRBPSNTreeUtil::GetRootProductFromDocument(pointed, &child)) || !child) continue;
    if (ZRBPSNTreeUtil::WasLoadedFromPdm(child)) continue;
    CADUnicodeString parameter = CADUnicodeString("(") + pointed->StorageName() + CADUnicodeString(")");
    if (result) AddUpdateMessage("UpdateCheckFailedPre");
    AddUpdateMessage("StructureNotFromPdm", &parameter, 1);
    result = 0;
  }
  if (!result) AddUpdateMessage("UpdateCheckFailedPostProcess");
  return result;
}
