#include "ZRBArchivePdmValidation.h"

#include <cerrno>
#include <memory>
#include <string_view>
#include <vector>

#include "CADSystemServices.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPdmAction.h"
#include "ZRBPdmRequest.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {
bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADString Text(const CADUnicodeString& value) { return CADString(value.str()); }

CADUnicodeString FileProperty(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(product), name);
}

CADUnicodeString FileNameOf(const CADIProduct_var& product) {
  return ZRBFileUtil::GetFileNameFromPath(GlobPropertyManager.GetProductFullPath(product));
}

void Warn(ZRBCommand& command, const char* catalog, const char* key, std::vector<CADUnicodeString> parameters = {}) {
  command.GetWarnings().Append(
      ZRBAfx::BuildMessage(catalog, key, parameters.data(), static_cast<int>(parameters.size())));
}

ZRBObject* AddMember(ZRBObjectManager& request, const CADUnicodeString& partNumber, const CADUnicodeString& file) {
  ZRBObject* object = request.CreateObject(CADString());
  if (!object) return nullptr;
  object->SetSlotValue("PARTNUMBER", Text(partNumber));
  object->SetSlotValue("FILENAME", Text(file));
  return object;
}

// The kinds an archive member may be; the message key of the refusal otherwise ("" when accepted).
const char* RefusalOf(const CADUnicodeString& type, bool hasChildren) {
  if (type == "CADPart" || type == "CADProduct") return "";
  if (type == "CADAnalysis" && !IsOn("ZRB_DISABLE_ANALYSIS_IN_ARCHIVE")) return hasChildren ? "ChildUnderAnalysis" : "";
  if (type == "model" && !IsOn("ZRB_DISABLE_MODEL_IN_ARCHIVE")) return hasChildren ? "ChildUnderModel" : "";
  if (type == "vis" && !IsOn("ZRB_DISABLE_VIS_IN_ARCHIVE")) return hasChildren ? "ChildUnderVis" : "";
  return "ChildrenTypeCheckFailed";
}
}  // namespace

int ZRBArchivePdmValidation::BuildRequest(ZRBCommand& command, const CADIProduct_var& root, int create,
                                          ZRBObjectManager& request) {
  ZRBObject* head = ZRBPdmRequest::AddRoot(request);
  if (!head) {
    ZRB_DEBUG("ZRB: AttachArchive: Unable to create ZRBObject");
    return 0;
  }
  head->SetSlotValue("CREATEARCHIVE", create ? "1" : "0");
  CADUnicodeString instance;
  root->GetPrdInstanceName(instance);
  head->SetSlotValue("INSTANCENAME", Text(instance));
  const CADUnicodeString original = FileProperty(root, "ZRB_ARCHIVE_ORIG_PART_NUMBER");
  if (FileProperty(root, "ZRB_ARCHIVE_IS_STAND_ALONE") == "1" && !original.IsEmpty()) {
    head->SetSlotValue("ORIG_PART_NUMBER", Text(original));
    head->SetSlotValue("IS_STAND_ALONE", "1");
  } else {
    const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root);
    CADUnicodeString parent = father ? GlobPropertyManager.GetPartNumber(father, 1) : CADUnicodeString();
    if (!father) {
      const ZRBArchive* loaded = GlobArchiveManager.Find(FileProperty(root, "ZRB_ARCHIVE_CONTENT_FILE_NAME"));
      if (loaded) parent = CADUnicodeString(loaded->root.parentPartnumber);
    }
    head->SetSlotValue("PARENT_PARTNUMBER", Text(parent));
    head->SetSlotValue("IS_STAND_ALONE", "0");
  }
  head->SetSlotValue("PARTNUMBER", Text(GlobPropertyManager.GetPartNumber(root, 1)));
  head->SetSlotValue("FILENAME", Text(FileNameOf(root)));

  std::unique_ptr<ZRBNodeList> nodes = ZRBPSNTreeUtil::GetAllChildren(root, 1);
  for (int i = 1; nodes && i <= nodes->Size(); ++i) {
    CADIProduct_var member((*nodes)[i]);
    if (!member) continue;
    const CADUnicodeString type = GlobPropertyManager.GetProductType(member);
    std::unique_ptr<ZRBNodeList> children = ZRBPSNTreeUtil::GetDirectChildren(member);
    const char* refusal = RefusalOf(type, children && children->Size() > 0);
    const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(member, 1);
    if (*refusal) {
      ZRB_DEBUG("ZRB: AttachArchive: Found unsupported Type: '%s'", type.c_str());
      const bool typeCheck = std::string_view(refusal) == "ChildrenTypeCheckFailed";
      Warn(command, typeCheck ? "ZRBAttachArchiveCmd" : "ZRBUpdateCmd", refusal, {partNumber});
      return 0;
    }
    ZRBObject* object = AddMember(request, partNumber, FileNameOf(member));
    if (!object) return 0;
    head->SlotAppend("SUBASSEMBLIES", object->GetKey());
  }
  if (IsOn("ZRB_DISABLE_DT_IN_ARCHIVE")) return 1;
  ZRBArchiveMembers::ForEachTable(root, [&](ZRBDesignTable& table) {
    CADUnicodeString path;
    if (FAILED(table.GetFullPath(path))) return;
    if (ZRBObject* object = AddMember(request, CADUnicodeString(), ZRBFileUtil::GetFileNameFromPath(path)))
      head->SlotAppend("SUBASSEMBLIES", object->GetKey());
  });
  return 1;
}

int ZRBArchivePdmValidation::ValidateArchive(ZRBCommand& command, const CADIProduct_var& root, int create) {
  ZRB_TRACE("ZRBCommand::ValidateArchive");
  if (!IsOn("ZRB_ENABLE_ARCHIVE_VALIDATION")) {
    ZRB_DEBUG("ZRB_ENABLE_ARCHIVE_VALIDATION not set, Validation skipped.");
    return 1;
  }
  if (!root) return 0;
  ZRBObjectManager request;
  if (!BuildRequest(command, root, create, request)) return 0;
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString path = xmap + CADUnicodeString("vfile.zrb");
  if ((ZRBAfx::FileExist(path) && FAILED(CADDeleteFile(path))) || !request.Write(path)) {
    Warn(command, "ZRBAttachArchiveCmd", "NoFileAccess", {path});
    return 0;
  }
  const int run = ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::ValidateArchive, path), 0);
  if (run < 0) {
    ZRB_DEBUG("SYSTEM ConnectPdm x3ValidateArchive failed with %d errno: %d", run, errno);
    Warn(command, "ZRBAfx", "ConnectFailed");
    return 0;
  }
  ZRBObjectManager answer;
  const ZRBObject* head = ZRBPdmRequest::ReadWholeAnswer(path, answer) ? answer.GetObject("ROOT") : nullptr;
  if (!head) {
    ZRB_DEBUG("ZRB: AttachArchive: Unable to get ZRBObject");
    return 0;
  }
  if (head->GetSlotValue("ACTION_SUCCESS") != "1") {
    ZRB_DEBUG("ZRB: AttachArchive: Action not Successfully");
    ZRBPdmRequest::AddStats(*head, command.GetWarnings());
    return 0;
  }
  std::vector<const ZRBObject*> failures;
  if (head->GetSlotValue("VALIDATION_FAILED") == "1") failures.push_back(head);
  const CADListValCADString keys = head->GetSlotValueList("SUBASSEMBLIES");
  for (int i = 1; i <= keys.Size(); ++i) {
    const ZRBObject* member = answer.GetObject(keys[i]);
    if (!member) {
      ZRB_DEBUG("ZRB: AttachArchive: Unable to get ZRBObject");
      return 0;
    }
    if (member->GetSlotValue("VALIDATION_FAILED") == "1") failures.push_back(member);
  }
  for (const ZRBObject* failure : failures)
    Warn(command, "ZRBAttachArchiveCmd", "ValidationFailed",
         {CADUnicodeString(failure->GetSlotValue("PARTNUMBER")), CADUnicodeString(failure->GetSlotValue("FILENAME"))});
  if (failures.empty()) ZRB_TRACE_OK();
  return failures.empty() ? 1 : 0;
}
