// The host-side archive checks: what a product structure must be to become an archive (attach) or to be stored
// again (update). The update's part is installed into the update at load: an archive is dirty when a member
// changed, a member was added, or its non-CAD files changed; only a dirty archive is checked again.
#include "ZRBArchiveCadValidation.h"

#include <algorithm>
#include <vector>

#include "CADDocument.h"
#include "CADIVisProperties.h"
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
bool SamePath(const CADUnicodeString& a, const CADUnicodeString& b) {
  int equal = 0;
  ZRBAfx::CompareFullPath(a, b, equal);
  return equal != 0;
}

CADUnicodeString Message(const char* catalog, const char* key, std::vector<CADUnicodeString> parameters = {}) {
  return ZRBAfx::BuildMessage(catalog, key, parameters.data(), static_cast<int>(parameters.size()));
}

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADUnicodeString PartNumberOf(const CADIProduct_var& product) { return GlobPropertyManager.GetPartNumber(product, 1); }

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

// The kinds beside parts and products an archive may hold, each with its switch and its refusals.
struct OtherKind {
  const char* disabledBy;
  const char* disabled;
  const char* withChild;
  const char* found;  // trace when met and not disabled
};
const OtherKind* KindOf(const CADUnicodeString& type) {
  static const OtherKind analysis{"ZRB_DISABLE_ANALYSIS_IN_ARCHIVE", "ArchiveContentAnalysisSupportDisabled",
                                  "ChildUnderAnalysis", "ZRB: Found CADAnalysis as Archive Root"};
  static const OtherKind model{"ZRB_DISABLE_MODEL_IN_ARCHIVE", "ArchiveContentModelSupportDisabled", "ChildUnderModel",
                               "ZRB: model found and not disabled"};
  static const OtherKind vis{"ZRB_DISABLE_VIS_IN_ARCHIVE", "ArchiveContentVisSupportDisabled", "ChildUnderVis",
                             "ZRB: vis found and not disabled"};
  static const OtherKind rep{"ZRB_DISABLE_REP_IN_ARCHIVE", "ArchiveContentRepSupportDisabled", "ChildUnderRep",
                             "ZRB: rep found and not disabled"};
  if (type == "CADAnalysis") return &analysis;
  if (type == "model") return &model;
  if (type == "vis") return &vis;
  if (ZRBInfoUtil::IsRepresentation(type)) return &rep;
  return nullptr;
}

void CollectHidden(const CADIProduct_var& parent, CADListValCADUnicodeString& paths,
                   CADListValCADUnicodeString& partNumbers) {
  std::unique_ptr<ZRBNodeList> children = ZRBPSNTreeUtil::GetDirectChildren(parent);
  for (int i = 1; children && i <= children->Size(); ++i) {
    CADIProduct_var child((*children)[i]);
    if (!child || GlobPropertyManager.GetProductType(child) == "CADAnalysis") continue;
    CADIVisProperties_var properties(child);
    CADShowAttr show = CADShowAttr::Show;
    if (properties) ZRB_DEBUG("ZRB: Got CADIVisProperties");
    if (properties && SUCCEEDED(properties->GetShowAttr(show)) && show == CADShowAttr::NoShow) {
      paths.Append(ZRBAfx::GetMessageDisplayFromPath(GlobPropertyManager.GetProductFullPath(child)));
      partNumbers.Append(PartNumberOf(child));
    }
    CollectHidden(child, paths, partNumbers);
  }
}
}  // namespace

std::vector<CADIProduct_var> ZRBArchiveCadValidation::Members(const CADIProduct_var& root) {
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

int ZRBArchiveCadValidation::ValidateArchiveAnalysisInCad(const CADIProduct_var& analysis, CADUnicodeString& message,
                                                          int attachMode) {
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(analysis, &document)) || !document) return 1;
  // The host keeps an analysis' computations as the document's "CADAnalysisComputations" text, and its
  // links to what it analyses as pointed documents.
  CADUnicodeString computations;
  const bool hasComputations =
      SUCCEEDED(document->GetProperty("CADAnalysisComputations", computations)) && !computations.IsEmpty();
  bool foreign = false;
  for (CADDocument* linked : document->GetPointedDocuments()) {
    const CADUnicodeString type = linked ? linked->GetType() : CADUnicodeString();
    if (type != "CADProduct" && type != "CADPart" && type != "model") foreign = true;
  }
  if (foreign) {
    message = Message("ZRBAttachArchiveCmd", "CheckFailed2", {PartNumberOf(analysis)});
    return 0;
  }
  if (!hasComputations) return 1;
  if (IsOn("ZRB_ENABLE_ANALYSIS_COMPUTATION_IGNORE")) {
    ZRB_DEBUG("ZRB: Ignoring Computation");
    return 1;
  }
  message = Message("ZRBUpdateCmd", attachMode ? "ArchiveComputationFoundCre" : "ArchiveComputationFoundUpd",
                    {PartNumberOf(analysis)});
  return 0;
}

int ZRBArchiveCadValidation::ValidateSingleArchiveProductInCad(const CADIProduct_var& member, CADUnicodeString& message,
                                                               int attachMode) {
  const CADUnicodeString type = GlobPropertyManager.GetProductType(member);
  if (type == "CADPart" || type == "CADProduct") return 1;
  const CADUnicodeString partNumber = PartNumberOf(member);
  if (const OtherKind* kind = KindOf(type)) {
    const char* refusal = IsOn(kind->disabledBy)                         ? kind->disabled
                          : ZRBPSNTreeUtil::GetChildrenCount(member) > 0 ? kind->withChild
                                                                         : nullptr;
    if (!refusal && type == "CADAnalysis") return ValidateArchiveAnalysisInCad(member, message, attachMode);
    if (!refusal) return 1;
    message = Message("ZRBUpdateCmd", refusal, {partNumber});
    ZRB_DEBUG("ZRB: AttachArchive: Child check failed");
    return 0;
  }
  ZRB_DEBUG("ZRB: AttachArchive: Found unsupported Type: '%s'", type.c_str());
  ZRB_DEBUG("ZRB: AttachArchive: Child check failed");
  message =
      Message("ZRBAttachArchiveCmd", attachMode ? "ChildrenCheckFailed" : "ChildrenCheckFailedForUpd", {partNumber});
  return 0;
}

int ZRBArchiveCadValidation::CheckForConsistentPartNumbersInArchive(const std::vector<CADIProduct_var>& products,
                                                                    CADUnicodeString& message, int& result) {
  result = 1;
  const bool multiEmbedded = IsOn("ZRB_ENABLE_CHECKMULTIEMBARC");
  struct Seen {
    CADUnicodeString partNumber, path, storage;
  };
  std::vector<Seen> seen;
  for (const auto& product : products) {
    if (!product) {
      ZRB_DEBUG("ZRB: ignoring 'NULL' Product");
      continue;
    }
    const CADUnicodeString partNumber = PartNumberOf(product);
    if (partNumber.IsEmpty()) continue;
    const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(product);
    CADUnicodeString storage;
    CADDocument* document = nullptr;
    if (multiEmbedded && path.IsEmpty() && SUCCEEDED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) &&
        document)
      storage = document->StorageName();
    auto it = std::find_if(seen.begin(), seen.end(), [&](const Seen& entry) { return entry.partNumber == partNumber; });
    if (it == seen.end()) {
      seen.push_back({partNumber, path, storage});
      continue;
    }
    const char* key = nullptr;
    CADUnicodeString first = it->path, second = path;
    if (multiEmbedded && path.IsEmpty()) {
      if (it->storage != storage) key = "MultiEmbeddedFound";
      first = it->storage;
      second = storage;
    } else if (!SamePath(it->path, path)) {
      key = "WrongPartNumberFound";
    }
    if (!key) continue;
    message =
        Message("ZRBCommand", key,
                {partNumber, ZRBAfx::GetMessageDisplayFromPath(first), ZRBAfx::GetMessageDisplayFromPath(second)});
    result = 0;
    break;
  }
  return result;
}

int ZRBArchiveCadValidation::CheckForHiddenObjectsInArchive(const CADIProduct_var& root,
                                                            CADListValCADUnicodeString& hiddenPaths,
                                                            CADListValCADUnicodeString& partNumbers, int& result) {
  result = 1;
  if (!root) return 0;
  CollectHidden(root, hiddenPaths, partNumbers);
  result = hiddenPaths.Size() == 0 ? 1 : 0;
  return 1;
}

int ZRBArchiveCadValidation::CheckUniqueParent(const CADIProduct_var& member, const CADUnicodeString& rootPartNumber,
                                               CADUnicodeString& message) {
  const CADUnicodeString first = GlobPropertyManager.GetReferenceProperty(member, "ZRB_FIRST_PARENT_PARTNUMBER");
  // A member of this very archive (stored again) names the archive's own root as its first parent.
  if (!first.IsEmpty() && first != rootPartNumber) {
    message = Message("ZRBUpdateCmd", "ErrUniqueParentRule", {PartNumberOf(member)});
    return 0;
  }
  if (GlobPropertyManager.GetReferenceProperty(member, "ZRB_CONTENT_IN_ARC") != "1") {
    GlobPropertyManager.SetReferenceProperty(member, "ZRB_CONTENT_IN_ARC", "1");
    marked_.push_back(member);
  }
  return 1;
}

void ZRBArchiveCadValidation::RemoveMarks() {
  for (const CADIProduct_var& member : marked_)
    GlobPropertyManager.DeleteReferenceProperty(member, "ZRB_CONTENT_IN_ARC");
  for (const CADUnicodeString& table : markedTables_)
    GlobPropertyManager.DeleteFileProperty(table, "ZRB_FIRST_PARENT_PARTNUMBER");
  marked_.clear();
  markedTables_.clear();
}

int ZRBArchiveCadValidation::ValidateArchiveInCad(const CADIProduct_var& root, CADUnicodeString& message,
                                                  int attachMode, int checkParents) {
  ZRB_TRACE("ZRBCommand::ValidateArchiveInCad");
  if (!root) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is NULL");
    return 0;
  }
  auto refuse = [&](const char* catalog, const char* key, std::vector<CADUnicodeString> parameters = {},
                    bool warn = false) {
    if (catalog) message = Message(catalog, key, std::move(parameters));
    if (warn) command_.GetWarnings().Append(message);
    RemoveMarks();
    return 0;
  };
  const CADUnicodeString partNumber = PartNumberOf(root);
  const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(root);
  const CADIProduct_var father = ZRBPSNTreeUtil::GetFatherProduct(root);
  if (attachMode) {
    if (!IsOn("ZRB_ENABLE_ZRBARCHIVE_CREATE") && (!father || !ZRBInfoUtil::IsProductInstanceFromZRB(father.get()))) {
      ZRB_DEBUG("ZRB: AttachArchive: Father not loaded by ZRB");
      return refuse("ZRBAttachArchiveCmd", "FatherNotFromZRB");
    }
    if (ZRBInfoUtil::IsRefProductFromZRB(root.get())) {
      ZRB_DEBUG("ZRB: AttachArchive: Selected is from ZRB");
      return refuse("ZRBAttachArchiveCmd", "SelectedIsFromZRB");
    }
    CADUnicodeString xmap;
    ZRBAfx::GetXMapWithEndingSlash(xmap);
    if (SamePath(ZRBFileUtil::GetDirPathFromFilePath(path, 1), xmap) && GlobPropertyManager.IsArchiveRoot(root))
      return refuse("ZRBAttachArchiveCmd", "SelectedIsLoadedAsArchiveRoot", {partNumber}, true);
  }
  CADIProduct_var node = root;
  int blackBox = 0;
  if (FAILED(ZRBInfoUtil::IsBlackBoxNode(node, &blackBox)) || blackBox) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is Black Box");
    return refuse("ZRBAttachArchiveCmd", attachMode ? "SelectedIsBB" : "SelectedIsBBForUpd");
  }
  if (attachMode && (GlobPropertyManager.IsArchiveContent(root) || GlobPropertyManager.IsArchiveRoot(root))) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is content of a Archive");
    return refuse("ZRBAttachArchiveCmd",
                  GlobPropertyManager.IsArchiveRoot(root) ? "SelectedIsArchiveRoot" : "SelectedIsArchiveContent");
  }
  if (!attachMode && GlobPropertyManager.IsArchiveContent(root)) {
    ZRB_DEBUG("ZRB: AttachArchive: Selected is content of a Archive");
    return refuse("ZRBAttachArchiveCmd", "SelectedIsArchiveContentForUpd");
  }
  const CADUnicodeString type = GlobPropertyManager.GetProductType(root);
  if (type != "CADPart" && type != "CADProduct") {
    const OtherKind* kind = KindOf(type);
    if (!kind || IsOn(kind->disabledBy)) {
      ZRB_DEBUG("ZRB: Wrong Type Found in Archive: %s", partNumber.c_str());
      return refuse(attachMode ? "ZRBAttachArchiveCmd" : "ZRBUpdateCmd",
                    attachMode ? "CheckFailed" : "ArchiveContentWrongType", {partNumber});
    }
    ZRB_DEBUG("%s", kind->found);
    if (ZRBPSNTreeUtil::GetChildrenCount(root) > 0) return refuse("ZRBUpdateCmd", kind->withChild, {partNumber});
    if (type == "CADAnalysis" && !ValidateArchiveAnalysisInCad(root, message, attachMode)) return refuse(nullptr, "");
  }
  if (type == "CADProduct" && HoldsIllegalContainer(root)) return refuse("ZRBUpdateCmd", "IllegalAppContainer");
  const bool uniqueParent = checkParents && IsOn("ZRB_ENABLE_UNIQUEPARENTRULE");
  std::vector<CADIProduct_var> products = Members(root);
  for (const auto& member : products) {
    if (!ValidateSingleArchiveProductInCad(member, message, attachMode)) return refuse(nullptr, "");
    if (uniqueParent && !CheckUniqueParent(member, partNumber, message)) return refuse(nullptr, "");
    if (GlobPropertyManager.GetProductType(member) == "CADProduct" && HoldsIllegalContainer(member))
      return refuse("ZRBUpdateCmd", "IllegalAppContainer");
  }
  products.insert(products.begin(), root);
  int consistent = 1;
  if (!CheckForConsistentPartNumbersInArchive(products, message, consistent)) {
    ZRB_DEBUG("ZRB: CheckForConsistentPartNumbersInArchive not validated");
    return refuse(nullptr, "");
  }
  if (IsOn("ZRB_ENABLE_HIDECHECKINARCHIVE")) {
    CADListValCADUnicodeString paths, numbers;
    int visible = 1;
    CheckForHiddenObjectsInArchive(root, paths, numbers, visible);
    if (!visible) {
      ZRB_DEBUG("ZRB: CheckForHiddenObjectsInArchive not ok");
      std::string text = Message("ZRBCommand", "HiddenObjectHeader").str();
      for (int i = 1; i <= paths.Size(); ++i)
        text += "\n" + Message("ZRBCommand", "HiddenObjectLine", {paths[i]}).str();
      return refuse("ZRBCommand", "HiddenObjectInArchiveFound", {CADUnicodeString(text)});
    }
  }
  if (HasTables(root)) {
    if (IsOn("ZRB_DISABLE_DT_IN_ARCHIVE")) {
      ZRB_DEBUG("ZRB: DesignTable found and disabled");
      return refuse("ZRBUpdateCmd", "ArchiveContentDtSupportDisabled");
    }
    ZRB_DEBUG("ZRB: DesignTable found and not disabled");
    bool clash = false;
    if (uniqueParent)
      ZRBArchiveMembers::ForEachTable(root, [&](ZRBDesignTable& table) {
        CADUnicodeString file;
        if (clash || FAILED(table.GetFullPath(file))) return;
        const CADUnicodeString first = GlobPropertyManager.GetFileProperty(file, "ZRB_FIRST_PARENT_PARTNUMBER");
        if (!first.IsEmpty() && first != partNumber) {
          message = Message("ZRBUpdateCmd", "ErrUniqueParentRule", {ZRBFileUtil::GetFileNameFromPath(file)});
          clash = true;
        } else if (first.IsEmpty()) {
          GlobPropertyManager.SetFileProperty(file, "ZRB_FIRST_PARENT_PARTNUMBER", partNumber);
          markedTables_.push_back(file);
        }
      });
    if (clash) return refuse(nullptr, "");
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBArchiveCadValidation::IsArchiveDirty(ZRBCommand& command, const CADIProduct_var& root,
                                            const CADUnicodeString& contentFile) {
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

namespace {

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
  const int dirty = ZRBArchiveCadValidation::IsArchiveDirty(command, node, contentFile);
  ZRB_DEBUG("Found Archive, dirty state: %d", dirty);
  if (dirty) {
    CADUnicodeString reason;
    ZRBArchiveCadValidation validation(command);
    if (!validation.ValidateArchiveInCad(node, reason, 0, 1)) {
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
