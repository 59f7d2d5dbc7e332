#include "ZRBAttachArchiveCmd.h"

#include <string>

#include "CADCSO.h"
#include "CADClassDictionary.h"
#include "CADFrmEditor.h"
#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveCadValidation.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchivePacker.h"
#include "ZRBArchivePdmValidation.h"
#include "ZRBArchiveSlots.h"
#include "ZRBArchiveStructureWriter.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBInstanceList.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateCmd.h"

ZRBAttachArchiveCmd* fctCreateZRBAttachArchiveCmd() { return new ZRBAttachArchiveCmd(); }

namespace {
const CADClassDictionary::Registration g_registration("ZRBAttachArchiveCmd", &fctCreateZRBAttachArchiveCmd);

constexpr unsigned long kErrorStyle = 0x8000200;
constexpr unsigned long kQuestionStyle = 0x800200;
constexpr int kAnswerYes = 3;

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

// A part number names the archive's files in the exchange map: it must be one plain file name.
bool UsableAsFileName(const CADUnicodeString& partNumber) {
  const std::string text = partNumber.str();
  return !text.empty() && text != "." && text != ".." && text.find('/') == std::string::npos &&
         text.find('\0') == std::string::npos;
}

CADUnicodeString Joined(const CADListValCADUnicodeString& lines) {
  std::string text;
  for (int i = 1; i <= lines.Size(); ++i) text += (i > 1 ? "   ---   " : "") + lines[i].str();
  return CADUnicodeString(text);
}
}  // namespace

std::string_view ZRBAttachArchiveCmd::ActionWord() const { return ZRBPdmAction::UpdateFromFile; }

ZRBUpdateCmd* ZRBAttachArchiveCmd::CreateUpdateCmd() { return new ZRBUpdateCmd(1); }

ZRBOneStepCommand::Outcome ZRBAttachArchiveCmd::Refuse(const char* key, const char* trace) {
  ZRB_DEBUG("%s", trace);
  ShowMessage("ZRBAttachArchiveCmd", key, kErrorStyle);
  return Outcome::Stopped;
}

int ZRBAttachArchiveCmd::GetSelectedProduct(CADIProduct_var& selected) {
  selected = nullptr;
  CADFrmEditor* editor = GetEditor() ? GetEditor() : CADFrmEditor::GetCurrentEditor();
  if (!editor) {
    Refuse("NoPartObject", "ZRB: AttachArchive: *** cannot get Editor ***");
    return 0;
  }
  CADCSO* selection = editor->GetCSO();
  if (!selection) {
    Refuse("NoPartObject", "ZRB: AttachArchive: *** cannot get Document ***");
    return 0;
  }
  if (selection->GetSize() != 1) {
    Refuse("NoPartSelected", "ZRB: AttachArchive: *** wrong number of elements ***");
    return 0;
  }
  CADIProduct_var product;
  if (FAILED(selection->GetElement(1)->GetLeafProduct(product)) || !product) {
    Refuse("NoPartSelected", "ZRB: AttachArchive: *** selected elemant is not a Product ***");
    return 0;
  }
  const CADUnicodeString type = GlobPropertyManager.GetProductType(product);
  if (IsOn("ZRB_ENABLE_ARCHIVE_ROOT_PRODUCT_ONLY") && type != "CADProduct") {
    Refuse("NoProductSelected", "ZRB: AttachArchive: only a product may be an archive root");
    return 0;
  }
  if (type != "CADPart" && type != "CADProduct") {
    // Analysis, model, vis and representation roots are refused by the session checks with their own words.
    const bool other = type == "CADAnalysis" || type == "model" || type == "vis" || ZRBInfoUtil::IsRepresentation(type);
    if (!other) {
      Refuse("NoPartSelected", "ZRB: AttachArchive: *** selected elemant is not a Product ***");
      return 0;
    }
  } else {
    ZRB_DEBUG("ZRB: AttachArchive: Found selected %s", type.c_str());
  }
  selected = product;
  return 1;
}

int ZRBAttachArchiveCmd::CreateArchiveObject(const CADIProduct_var& root, const CADUnicodeString& archiveFile,
                                             const CADUnicodeString& structureFile, ZRBObjectManager& answer,
                                             ZRBObject*& archive) {
  ZRB_TRACE("ZRBAttachArchiveCmd::CreateArchiveObject");
  archive = nullptr;
  ZRBObjectManager request;
  ZRBObject* head = ZRBPdmRequest::AddRoot(request);
  CADString key;
  if (!head ||
      !ZRBArchiveSlots::SetArchivePropertiesToZRBObject(request, archiveFile, structureFile, root, head, key, 0))
    return 0;
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  CADUnicodeString path = xmap + CADUnicodeString("rfile.zrb");
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    GetWarnings().Append(BuildMessage("ZRBAttachArchiveCmd", "NoFileAccess", &path, 1));
    return 0;
  }
  if (RunPdmAction(ActionWord(), ZRBPdmAction::Line(ActionWord(), path)) < 0) {
    ZRB_DEBUG("SYSTEM ConnectPdm %s failed", std::string(ActionWord()).c_str());
    GetWarnings().Append(BuildMessage("ZRBAfx", "ConnectFailed"));
    return 0;
  }
  const ZRBObject* answerRoot = ZRBPdmRequest::ReadWholeAnswer(path, answer) ? answer.GetObject("ROOT") : nullptr;
  if (!answerRoot) {
    ZRB_DEBUG("Cannot read Root Obj from %s", path.c_str());
    GetWarnings().Append(BuildMessage("ZRBAttachArchiveCmd", "NoAnswerFromPdm"));
    return 0;
  }
  ZRB_DEBUG("ZRB: Get STATS from object manager");
  ZRBPdmRequest::AddStats(*answerRoot, GetWarnings());
  archive = answer.GetObjectByPrivateUpdateId(key);
  if (!ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(answerRoot, ZRBPdmStep::OneStep)) || !archive ||
      archive->GetSlotValue("OBID").IsEmpty()) {
    ZRB_DEBUG("ZRB: Archive creation in PDM failed!");
    archive = nullptr;
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBAttachArchiveCmd::UpdateActualWindow(CADListValCADUnicodeString& lines) {
  ZRB_TRACE("ZRBAttachArchiveCmd::UpdateActualWindow");
  if (IsOn("ZRB_CREATE_SPECPARTS_IN_UPDATE"))
    ZRB_DEBUG("ZRB: Environment variable ZRB_CREATE_SPECPARTS_IN_UPDATE is ON");
  ZRBUpdateCmd* update = CreateUpdateCmd();
  if (!update) {
    ZRB_DEBUG("ZRB: Failed to instantiate ZRBUpdateCmd");
    lines.Append(BuildMessage("ZRBUpdateCmd", "UpdateFailed"));
    return 0;
  }
  int status = 0;
  const int done = update->UpdatePdm(status) || status == ZRBUpdateCmd::kNothingToSave;
  lines.Append(BuildMessage("ZRBUpdateCmd", done ? "UpdateOk" : "UpdateFailed"));
  for (const CADUnicodeString& line : update->GetWarnings()) lines.Append(line);
  lines.Append(BuildMessage("ZRBAttachArchiveCmd", "AdditionalUpdateMessage"));
  update->Release();
  ApplyClientMode();
  return done;
}

int ZRBAttachArchiveCmd::UpdateWorkbench(const CADIProduct_var& root) {
  ZRB_TRACE("ZRBAttachArchiveCmd::UpdateWorkbench");
  ZRBInstanceList instances;
  instances.AppendTopLevel(root);
  ZRBObjectManager request;
  if (!instances.BuildObjMgrForUpdateWB(request)) return 0;
  request.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "0");
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  CADUnicodeString path = xmap + CADUnicodeString("UpdWbfile.zrb");
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    GetWarnings().Append(BuildMessage("ZRBUpdateCmd", "NoFileAccess", &path, 1));
    return 0;
  }
  if (RunPdmAction(ZRBPdmAction::UpdateWBFromFile, ZRBPdmAction::Line(ZRBPdmAction::UpdateWBFromFile, path)) < 0)
    return 0;
  ZRBObjectManager answer;
  const ZRBObject* head = ZRBPdmRequest::ReadWholeAnswer(path, answer) ? answer.GetObject("ROOT") : nullptr;
  if (!head) return 0;
  ZRBPdmRequest::AddStats(*head, GetWarnings());
  return ZRBPdmRequest::IsSuccess(ZRBPdmRequest::ReadResult(head, ZRBPdmStep::OneStep)) ? 1 : 0;
}

ZRBOneStepCommand::Outcome ZRBAttachArchiveCmd::Work() {
  ZRB_TRACE("ZRBAttachArchiveCmd::Activate");
  CADIProduct_var root;
  if (!GetSelectedProduct(root)) return Outcome::Stopped;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(root, 1);
  if (!UsableAsFileName(partNumber)) {
    CADUnicodeString parameter = partNumber;
    GetWarnings().Append(BuildMessage("ZRBAttachArchiveCmd", "PartNumberNotUsable", &parameter, 1));
    return Outcome::Failed;
  }
  ZRBArchiveCadValidation validation(*this);
  CADUnicodeString message;
  if (!validation.ValidateArchiveInCad(root, message, 1, 1)) {
    // A selection the session refuses is shown at once and changes nothing.
    if (!message.IsEmpty()) ZRBAfx::MsgBox(message, kErrorStyle);
    return Outcome::Stopped;
  }
  // From here on a failure takes back the content marks the checks set, so the designer can simply retry.
  auto fail = [&]() {
    validation.RemoveMarks();
    return Outcome::Failed;
  };
  if (!ZRBArchivePdmValidation::ValidateArchive(*this, root, 1)) return fail();
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  CADListValCADUnicodeString files;
  if (!ZRBArchiveMembers::CopyArchiveFilesToXmap(*this, root, xmap, files)) return fail();
  const CADUnicodeString structureFile = xmap + partNumber + CADUnicodeString(".xml");
  const CADUnicodeString archiveFile = xmap + partNumber + CADUnicodeString(".ZRBArchive");
  if (!ZRBArchiveStructureWriter(*this).WriteStructureFile(root, structureFile, xmap)) return fail();
  if (!ZRBArchivePacker(*this).PackFilesToArchive(archiveFile, structureFile, files)) return fail();
  ZRBObjectManager answer;
  ZRBObject* archive = nullptr;
  if (!CreateArchiveObject(root, archiveFile, structureFile, answer, archive)) return fail();
  ZRBArchiveSlots::SetArchivePropertiesFromZRBObject(root, *archive, &GetWarnings());

  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root);
  bool updateFather = father != nullptr;
  if (father && IsOn("ZRB_ENABLE_ZRBARCHIVE_CREATE") && !ZRBInfoUtil::IsProductInstanceFromZRB(father.get())) {
    ZRB_DEBUG("ZRB: No ZRB Father");
    updateFather = false;
  }
  if (updateFather && (IsOn("ZRB_ARCHIVE_AUTOUPDATE") ||
                       ShowMessage("ZRBAttachArchiveCmd", "AskForUpdate", kQuestionStyle) == kAnswerYes)) {
    CADListValCADUnicodeString lines;
    UpdateActualWindow(lines);
    GetWarnings().Append(Joined(lines));
  }
  if (!father && !IsOn("ZRB_DISABLE_UPDATE_WB") && !UpdateWorkbench(root))
    GetWarnings().Append(BuildMessage("ZRBAttachArchiveCmd", "WorkbenchNotUpdated"));
  ZRB_TRACE_OK();
  return Outcome::Succeeded;
}

void ZRBAttachArchiveCmd::ShowOutcome(int success) {
  DisplayMessageCenter(success, 0, BuildMessage("ZRBAttachArchiveCmd", "AttachArchiveOk"),
                       BuildMessage("ZRBAttachArchiveCmd", "AttachArchiveFailed"), 0);
}
