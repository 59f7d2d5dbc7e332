#include "ZRBSyncRules.h"

#include <string>

#include "ZRBAfxBase.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBPropertyManager.h"

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

int SameModelsUnder(const CADIProduct_var& father, const CADUnicodeString& partNumber) {
  int count = 0;
  for (const CADBaseUnknown_var& item : father->GetChildren()) {
    CADIProduct_var sibling(item);
    if (sibling && sibling->GetPartNumber() == partNumber) ++count;
  }
  return count;
}

}  // namespace

std::string_view ZRBSyncRules::Check(const CADIProduct_var& node, const CADIProduct_var& father, int state,
                                     bool parentFailed) {
  if (!node) return "ErrNotLoaded";
  const CADUnicodeString type = GlobPropertyManager.GetProductType(node);
  if (type == "CADPart" && NewItem(state) && IsOn("ZRB_DISABLE_CREATE_CADPART")) return "CreatePartNotAllowed";
  if (type == "vis" && NewItem(state) && IsOn("ZRB_DISABLE_NEW_VIS")) return "ErrNewVISRule";
  if (type == "vis" && NewInstance(state) && IsOn("ZRB_DISABLE_NEW_VIS_INSTANCE")) return "ErrNewVISInstanceRule";
  if (type == "model" && NewItem(state) && IsOn("ZRB_DISABLE_NEW_LEGACYMODEL")) return "ErrNewLegacyModelRule";
  if (type == "model" && NewInstance(state) && IsOn("ZRB_DISABLE_NEW_LEGACYMODEL_INSTANCE"))
    return "ErrNewLegacyModelInstanceRule";
  if (type.IsEmpty()) return "ErrNotLoaded";
  if (NewItem(state) && Ref(node, "ZRB_ISCOMPONENT") == "1") return "ErrNewComponent";
  if (parentFailed) return "ErrParentFailedRule";
  if (Ref(node, "ZRB_MULTI_EMBEDDED") == "1") return "UpdateMultiEmbeddedNotSupported";
  if (IsOn("ZRB_ENABLE_UNIQUEPARENTRULE") && ZRBCommandStates::IsPartLikeType(type)) {
    const CADUnicodeString firstParent = Ref(node, "ZRB_FIRST_PARENT_PARTNUMBER");
    if (Ref(node, "ZRB_CONTENT_IN_ARC") == "1" ||
        (father && !firstParent.IsEmpty() && !(firstParent == father->GetPartNumber())))
      return "ErrUniqueParentRule";
  }
  if (father && InstanceName(node).Find(" ") >= 0) return "BlanksInInstanceName";
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

CADUnicodeString ZRBSyncRules::Reason(std::string_view key) {
  const std::string full = "ZRBUpdateCmd." + std::string(key);
  return ZRBAfxBase::BuildMessage("ZRBUpdateCmd", CADString(full), nullptr, 0, CADUnicodeString(full));
}
