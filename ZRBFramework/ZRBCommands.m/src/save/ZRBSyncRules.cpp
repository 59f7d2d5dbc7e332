#include "ZRBSyncRules.h"

#include <functional>
#include <memory>
#include <string>

#include "CADDocument.h"

#include "ZRBAfxBase.h"
#include "ZRBCommand.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBIdentityCheck.h"
#include "ZRBInfoUtil.h"
#include "ZRBOrigChildRecord.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBUpdateArchiveCheck.h"

namespace {

bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return product ? GlobPropertyManager.GetReferenceProperty(product, name) : CADUnicodeString();
}

CADUnicodeString InstanceName(const CADIProduct_var& product) {
  CADUnicodeString name;
  if (product) product->GetPrdInstanceName(name);
  return name;
}

// A node whose item the PDM does not know yet (as opposed to a known item in a new place).
bool NewItem(int state) { return (state & PS_NEW) && !(state & PS_ZRB); }
bool NewInstance(int state) { return (state & PS_NEW) != 0; }

// A product stored inside its father's document (a component) rather than in a file of its own.
bool Embedded(const CADIProduct_var& node) {
  int component = 0;
  ZRBInfoUtil::IsCadComponent(node, &component);
  return component || Ref(node, "ZRB_USE_EMBEDDED_PRODUCT") == "1" || Ref(node, "ZRB_ISCOMPONENT") == "1";
}

int SameModelsUnder(const CADIProduct_var& father, const CADUnicodeString& partNumber) {
  int count = 0;
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var sibling(item);
    if (sibling && sibling->GetPartNumber() == partNumber) ++count;
  }
  return count;
}

// Below `node`, at any depth, a child added or removed since the load. A black box's states carry no child
// bits (its content is the PDM's one item), so its structure is judged from the load-time records; a node
// without a usable record tells nothing, as in the states.
bool ChangedSinceLoad(const CADIProduct_var& node) {
  const std::shared_ptr<const ZRBOrigChildRecord> record = ZRBOrigChildRecord::Read(node);
  const bool judged = record && !record->IsEmpty();
  int kept = 0;
  for (const CADBaseUnknown_var& item : node->GetChildren()) {
    CADIProduct_var child(item);
    if (!child) continue;
    if (judged && !ZRBCommandStates::isChildOrigLoadChild(node.get(), child.get())) return true;
    if (ChangedSinceLoad(child)) return true;
    ++kept;
  }
  return judged && record->Size() > kept;
}

// A product holding black boxes from which one of them was taken away. Other children may come and go: the
// black boxes beside them stay as they were.
bool BlackBoxRootGone(const CADIProduct_var& holder) {
  const CADListValCADUnicodeString roots = GlobPropertyManager.GetBlackBoxRoots(holder);
  for (const CADUnicodeString& recorded : roots) {
    bool present = false;
    for (const CADBaseUnknown_var& item : holder->GetChildren()) {
      int same = 0;
      if (CADIProduct_var child(item); child)
        ZRBAfxBase::CompareFullPath(recorded, GlobPropertyManager.GetProductFullPath(child), same);
      if (same) present = true;
    }
    if (!present) return true;
  }
  return false;
}

}  // namespace

std::string_view ZRBSyncRules::Check(const CADIProduct_var& node, const CADIProduct_var& father, int state,
                                     bool parentFailed, ZRBCommand* command) {
  if (!node) return "ErrNotLoaded";
  if (ZRBIdentityCheck::Check(node, command) == ZRBIdentityCheck::Outcome::Other) return "WrongUuid";
  const CADUnicodeString type = GlobPropertyManager.GetProductType(node);
  const bool archiveRoot = GlobPropertyManager.IsArchiveRoot(node) != 0;
  if (archiveRoot && command) {
    int failed = 0;
    CADUnicodeString lines;
    ZRBUpdateArchiveCheck::CheckForArchiveValidation(*command, node, failed, lines);
    if (failed) return "ErrArchiveValidation";
  }
  // A member of an archive placed anew outside it: the archive alone may carry it.
  if (!archiveRoot && NewInstance(state) && Ref(node, "ZRB_CONTENT_IN_ARC") == "1" &&
      !(father && GlobPropertyManager.IsArchiveRoot(father)))
    return "ErrArchiveContentFound";
  if (type == "CADPart" && NewItem(state) && IsOn("ZRB_DISABLE_CREATE_CADPART")) return "CreatePartNotAllowed";
  if (type == "vis" && NewItem(state) && IsOn("ZRB_DISABLE_NEW_VIS")) return "ErrNewVISRule";
  if (type == "vis" && NewInstance(state) && IsOn("ZRB_DISABLE_NEW_VIS_INSTANCE")) return "ErrNewVISInstanceRule";
  if (type == "model" && NewItem(state) && IsOn("ZRB_DISABLE_NEW_LEGACYMODEL")) return "ErrNewLegacyModelRule";
  if (type == "model" && NewInstance(state) && IsOn("ZRB_DISABLE_NEW_LEGACYMODEL_INSTANCE"))
    return "ErrNewLegacyModelInstanceRule";
  if ((father && GlobPropertyManager.IsBlackBoxRoot(father, node) && ChangedSinceLoad(node)) || BlackBoxRootGone(node))
    return "ErrBlackBoxStructureChanged";
  const bool structureChanged = (state & (PS_CHILD_ADDED | PS_CHILD_REMOVED)) != 0;
  if (type.IsEmpty()) return "ErrNotLoaded";
  if (NewItem(state) && Ref(node, "ZRB_ISCOMPONENT") == "1") return "ErrNewComponent";
  if (parentFailed) return "ErrParentFailedRule";
  if (Ref(node, "ZRB_MULTI_EMBEDDED") == "1") return "UpdateMultiEmbeddedNotSupported";
  if (Embedded(node) && (structureChanged || Ref(node, "ZRB_COMP_STRUCT_CHANGE") == "1")) {
    if (IsOn("ZRB_DISABLE_EMBEDDED_STRUCT_CHANGES"))
      return Ref(node, "ZRB_PRODUCT_CHANGEABLE") == "0" ? "RealProductNotEmbeddedOrProtected"
                                                        : "ErrEmbeddedStructureChanged";
    ZRB_DEBUG("Structural changes with products are allowed");
  }
  if (IsOn("ZRB_ENABLE_UNIQUEPARENTRULE") && ZRBCommandStates::IsPartLikeType(type)) {
    const CADUnicodeString firstParent = Ref(node, "ZRB_FIRST_PARENT_PARTNUMBER");
    if (Ref(node, "ZRB_CONTENT_IN_ARC") == "1" ||
        (father && !firstParent.IsEmpty() && !(firstParent == father->GetPartNumber())))
      return "ErrUniqueParentRule";
  }
  if ((state & PS_REPRESENTATION_INCONSISTENT) && IsOn("ZRB_ENABLE_CHECKREPRULE")) return "ErrCheckRepRule";
  if (father && InstanceName(node).Find(" ") >= 0) return "BlanksInInstanceName";
  // A black box changes only through its attach; sent as an ordinary item it would overwrite what the PDM keeps.
  if (father && (state & ~(PS_ZRB | PS_STD_PART)) &&
      (GlobPropertyManager.IsBlackBoxRoot(father, node) || GlobPropertyManager.IsBlackBoxItem(father, node, 1)))
    return "ErrAlreadyBlackBox";
  // A component item holds a structure; a part-like document cannot be one, whatever the PDM marked it as.
  if (Ref(node, "ZRB_ISCOMPONENT") == "1" && ZRBCommandStates::IsPartLikeType(type))
    return "ErrComponentStructureInvalid";
  if (father && type == "model" && !IsOn("ZRB_DISABLE_ONEMODELINSTPERPARENT") &&
      SameModelsUnder(father, node->GetPartNumber()) > 1)
    return "ErrOnePartInstancePerProduct";
  if (father && NewInstance(state) && Ref(father, "ZRB_ISCOMPONENT") == "1") return "ErrNewChildComponent";
  return {};
}

std::string_view ZRBSyncRules::CheckStdCmpNode(const CADIProduct_var& node, const CADIProduct_var& father) {
  if (!node || !father || Ref(father, "ZRB_IS_STD_COMPONENT") != "1") return {};
  if (Ref(node, "ZRB_IS_STD_PART") != "1") return "NotStandardPartUnderStdCmp";
  int same = 0;
  const CADUnicodeString name = InstanceName(node);
  for (const CADBaseUnknown_var& item : father->GetChildren())
    if (InstanceName(CADIProduct_var(item)) == name) ++same;
  return same > 1 ? "DuplicateInstanceNameUnderStdCmp" : std::string_view();
}

std::string_view ZRBSyncRules::CheckDocuments(const CADIProduct_var& root) {
  if (!root) return {};
  const char* forbidden = g_ZRBConfig.GetEnvVar("ZRB_ILLEGAL_PROD_APPCONTAINER", 1);
  const bool checkDeactivated = IsOn("ZRB_ENABLE_DEACTIVATED_CHECK");
  std::string_view found;
  const std::function<void(const CADIProduct_var&)> walk = [&](const CADIProduct_var& node) {
    // A node another save is sending right now is that save's business.
    if (!Ref(node, "ZRB_SENDING_OBJECT").IsEmpty()) return;
    for (const CADBaseUnknown_var& item : node->GetChildren()) {
      CADIProduct_var child(item);
      if (!child || !found.empty()) continue;
      CADBoolean active = CADTRUE;
      if (checkDeactivated && SUCCEEDED(child->GetActivationState(active)) && !active) {
        ZRB_DEBUG("Deactivated Products found");
        found = "DeactivatedNotValid";
        return;
      }
      walk(child);
    }
    CADDocument* document = nullptr;
    if (!found.empty() || !forbidden || !*forbidden || GlobPropertyManager.GetProductType(node) != "CADProduct" ||
        FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(node, &document)) || !document)
      return;
    if (document->GetApplicativeContainerNames().Locate(CADUnicodeString(forbidden))) {
      ZRB_DEBUG("Illegal applicative Container found");
      found = "UpdateFailed";
    }
  };
  walk(root);
  return found;
}

CADUnicodeString ZRBSyncRules::Reason(std::string_view key) {
  const std::string full = "ZRBUpdateCmd." + std::string(key);
  return ZRBAfxBase::BuildMessage("ZRBUpdateCmd", CADString(full), nullptr, 0, CADUnicodeString(full));
}
