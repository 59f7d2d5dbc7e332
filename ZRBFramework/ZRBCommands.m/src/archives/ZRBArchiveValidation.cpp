// The host-side archive checks an update runs on dirty archives, installed into the update at load: an archive is
// dirty when a member changed, a member was added, or its non-CAD files changed; a dirty archive must hold only
// parts and products, no black box, and one file per part number.
#include <algorithm>
#include <vector>

#include "CADDocument.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBCommand.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateArchiveCheck.h"

namespace {
std::vector<CADIProduct_var> Members(const CADIProduct_var& root) {
  std::vector<CADIProduct_var> members;
  std::unique_ptr<ZRBNodeList> nodes = ZRBPSNTreeUtil::GetAllChildren(root, 1);
  for (int i = 1; nodes && i <= nodes->Size(); ++i) {
    CADIProduct_var product((*nodes)[i]);
    if (product) {
      members.push_back(product);
    } else {
      ZRB_DEBUG("ZRB: ignoring 'NULL' Product");
    }
  }
  return members;
}

CADUnicodeString Message(const char* catalog, const char* key, std::vector<CADUnicodeString> parameters = {}) {
  return ZRBAfx::BuildMessage(catalog, key, parameters.data(), static_cast<int>(parameters.size()));
}

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

// The product document holds the applicative container the configuration forbids in archives.
bool HoldsIllegalContainer(const CADIProduct_var& product) {
  const char* value = g_ZRBConfig.GetEnvVar("ZRB_ILLEGAL_PROD_APPCONTAINER", 1);
  const CADUnicodeString illegal(value ? value : "");
  CADDocument* document = nullptr;
  if (illegal.IsEmpty() || FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document) return false;
  const CADListValCADUnicodeString names = document->GetApplicativeContainerNames();
  for (int i = 1; i <= names.Size(); ++i) {
    if (names[i] == illegal) {
      ZRB_DEBUG("illegal applicative container detected");
      return true;
    }
  }
  return false;
}

bool HasTables(const CADIProduct_var& root) {
  bool any = false;
  ZRBArchiveMembers::ForEachTable(root, [&](ZRBDesignTable&) { any = true; });
  return any;
}

// One member: a part or product; an analysis, model or vis file without children unless its kind is disabled.
int ValidateSingleArchiveProductInCad(const CADIProduct_var& member, CADUnicodeString& message) {
  const CADUnicodeString type = GlobPropertyManager.GetProductType(member);
  if (type == "CADPart" || type == "CADProduct") return 1;
  const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(member, 1);
  static const struct {
    const char* type;
    const char* disabledBy;
    const char* disabled;
    const char* withChild;
  } kinds[] = {
      {"CADAnalysis", "ZRB_DISABLE_ANALYSIS_IN_ARCHIVE", "ArchiveContentAnalysisSupportDisabled", "ChildUnderAnalysis"},
      {"model", "ZRB_DISABLE_MODEL_IN_ARCHIVE", "ArchiveContentModelSupportDisabled", "ChildUnderModel"},
      {"vis", "ZRB_DISABLE_VIS_IN_ARCHIVE", "ArchiveContentVisSupportDisabled", "ChildUnderVis"},
  };
  for (const auto& kind : kinds) {
    if (type != kind.type) continue;
    const char* refusal = IsOn(kind.disabledBy)                          ? kind.disabled
                          : ZRBPSNTreeUtil::GetChildrenCount(member) > 0 ? kind.withChild
                                                                         : nullptr;
    if (!refusal) return 1;
    message = Message("ZRBUpdateCmd", refusal, {partNumber});
    ZRB_DEBUG("ZRB: AttachArchive: Child check failed");
    return 0;
  }
  ZRB_DEBUG("ZRB: AttachArchive: Found unsupported Type: '%s'", type.c_str());
  ZRB_DEBUG("ZRB: AttachArchive: Child check failed");
  message = Message("ZRBAttachArchiveCmd", "ChildrenCheckFailedForUpd", {partNumber});
  return 0;
}

// Dirty when a member changed, a member file is not in the stored structure file, or non-CAD files changed.
int IsArchiveDirty(ZRBCommand& command, const CADIProduct_var& root, const CADUnicodeString& contentFile) {
  if (!root) {
    ZRB_DEBUG("Input Argument is NULL");
    return 0;
  }
  CADListValCADUnicodeString known;
  GlobArchiveManager.GetPartAttributes(contentFile, "FILENAME", known);
  known.Append(GlobArchiveManager.GetRootAttribute(contentFile, "FILENAME"));
  std::vector<CADIProduct_var> members = Members(root);
  members.push_back(root);
  for (const auto& member : members) {
    unsigned char dirty = 0;
    command.GetDirtyFlagForProduct(dirty, member.get(), 0, 1);
    if (dirty) {
      ZRB_DEBUG("ZRB: IsArchiveDirty: found dirty Archive content");
      return 1;
    }
    const CADUnicodeString file = ZRBFileUtil::GetFileNameFromPath(GlobPropertyManager.GetProductFullPath(member));
    bool listed = false;
    for (int i = 1; i <= known.Size() && !listed; ++i) listed = known[i] == file;
    if (!listed) {
      ZRB_DEBUG("ZRB: IsArchiveDirty: found added Archive content");
      return 1;
    }
  }
  return GlobArchiveManager.GetNonCadChanged(contentFile);
}

// One file per part number among `products`; the first conflict is the message.
int CheckForConsistentPartNumbersInArchive(const std::vector<CADIProduct_var>& products, CADUnicodeString& message,
                                           int& result) {
  result = 1;
  std::vector<std::pair<CADUnicodeString, CADUnicodeString>> seen;  // part number, full path
  for (const auto& product : products) {
    const CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(product, 1);
    if (partNumber.IsEmpty()) continue;
    const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
    auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& entry) { return entry.first == partNumber; });
    if (it == seen.end()) {
      seen.emplace_back(partNumber, path);
    } else if (it->second != path) {
      message =
          Message("ZRBCommand", "WrongPartNumberFound",
                  {partNumber, ZRBAfx::GetMessageDisplayFromPath(it->second), ZRBAfx::GetMessageDisplayFromPath(path)});
      result = 0;
      break;
    }
  }
  return result;
}

// The checks of an archive that is to be stored again (update mode).
int ValidateArchiveInCad(const CADIProduct_var& root, CADUnicodeString& message, int checkParents = 0) {
  if (!root) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is NULL");
    return 0;
  }
  CADIProduct_var node = root;
  int blackBox = 0;
  if (FAILED(ZRBInfoUtil::IsBlackBoxNode(node, &blackBox)) || blackBox) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is Black Box");
    message = Message("ZRBAttachArchiveCmd", "SelectedIsBBForUpd");
    return 0;
  }
  const CADUnicodeString type = GlobPropertyManager.GetProductType(root);
  if (type != "CADPart" && type != "CADProduct") {
    CADUnicodeString partNumber = GlobPropertyManager.GetPartNumber(root, 1);
    ZRB_DEBUG("ZRB: Wrong Type Found in Archive: %s", partNumber.c_str());
    message = Message("ZRBUpdateCmd", "ArchiveContentWrongType", {partNumber});
    return 0;
  }
  if (HoldsIllegalContainer(root)) {
    message = Message("ZRBUpdateCmd", "IllegalAppContainer");
    return 0;
  }
  std::vector<CADIProduct_var> products = Members(root);
  for (const auto& member : products) {
    if (!ValidateSingleArchiveProductInCad(member, message)) return 0;
    if (GlobPropertyManager.GetProductType(member) == "CADProduct" && HoldsIllegalContainer(member)) {
      message = Message("ZRBUpdateCmd", "IllegalAppContainer");
      return 0;
    }
    if (checkParents && IsOn("ZRB_ENABLE_UNIQUEPARENTRULE")) {
      if (!GlobPropertyManager.GetReferenceProperty(member, "ZRB_FIRST_PARENT_PARTNUMBER").IsEmpty()) {
        message = Message("ZRBUpdateCmd", "ErrUniqueParentRule", {GlobPropertyManager.GetPartNumber(member, 1)});
        return 0;
      }
      GlobPropertyManager.SetReferenceProperty(member, "ZRB_CONTENT_IN_ARC", "1");
    }
  }
  if (IsOn("ZRB_DISABLE_DT_IN_ARCHIVE") && HasTables(root)) {
    ZRB_DEBUG("ZRB: DesignTable found and disabled");
    message = Message("ZRBUpdateCmd", "ArchiveContentDtSupportDisabled");
    return 0;
  }
  products.insert(products.begin(), root);
  int consistent = 1;
  if (!CheckForConsistentPartNumbersInArchive(products, message, consistent)) {
    ZRB_DEBUG("ZRB: CheckForConsistentPartNumbersInArchive not validated");
    return 0;
  }
  return 1;
}

int CheckForArchiveValidation(ZRBCommand& command, const CADIProduct_var& node, int& failed,
                              CADUnicodeString& message) {
  if (!node) {
    ZRB_DEBUG("ZRB CheckForArchiveValidation: Product is NULL");
    return 0;
  }
  if (!ZRBPSNTreeUtil::WasLoadedFromPdm(node)) return 1;
  if (!GlobPropertyManager.IsArchiveRoot(node)) {
    std::unique_ptr<ZRBNodeList> children = ZRBPSNTreeUtil::GetDirectChildren(node);
    for (int i = children ? children->Size() : 0; i >= 1 && !failed; --i) {
      CADIProduct_var child((*children)[i]);
      if (!child || !ZRBPSNTreeUtil::WasLoadedFromPdm(child)) continue;
      if (!CheckForArchiveValidation(command, child, failed, message)) return 0;
    }
    return 1;
  }
  const CADUnicodeString contentFile = GlobPropertyManager.GetFileProperty(GlobPropertyManager.GetProductFullPath(node),
                                                                           "ZRB_ARCHIVE_CONTENT_FILE_NAME");
  const int dirty = IsArchiveDirty(command, node, contentFile);
  ZRB_DEBUG("Found Archive, dirty state: %d", dirty);
  if (dirty) {
    CADUnicodeString reason;
    if (!ValidateArchiveInCad(node, reason)) {
      ZRB_DEBUG("Archive Validation failed");
      failed = 1;
      if (!message.IsEmpty()) message = CADUnicodeString(message.str() + "\n");
      message = CADUnicodeString(message.str() + reason.str());
    }
  }
  return 1;
}

struct Installer {
  Installer() { ZRBUpdateArchiveCheck::Install(&CheckForArchiveValidation); }
  ~Installer() { ZRBUpdateArchiveCheck::Install(nullptr); }
} g_installer;
}  // namespace
