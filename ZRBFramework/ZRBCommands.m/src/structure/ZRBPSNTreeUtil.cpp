#include "ZRBPSNTreeUtil.h"

#include "CADAutoProduct.h"
#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADPathElement.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBProductPathUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"
#include "ZRBTraceUtil.h"

namespace {
// Process-wide, read on first use; reset by ResetForTests.
int g_behaviorSwitch = -1;
ZRBConfigBehaviorManager* g_behaviorManager = nullptr;

CADUnicodeString Behavior(const CADIProduct_var& product) {
  return GlobPropertyManager.GetReferenceProperty(product, "ZRB_CONFIGURABLE_BEHAVIOR");
}

CADUnicodeString PartNumberOf(const CADIProduct_var& product) { return GlobPropertyManager.GetPartNumber(product, 0); }

void AppendAll(ZRBNodeList& to, const ZRBNodeList& from) {
  for (const auto& node : from) to.Append(node);
}
}  // namespace

// ---------------------------------------------------------------- fathers and children

CADIProduct_var ZRBPSNTreeUtil::GetFatherProduct(const CADIProduct_var& product) {
  if (!product) return nullptr;
  CADIProduct_var father = product->GetFatherProduct();
  if (!ConfigurableNodeBehaviorIsSet()) return father;
  // A skipped node stands for nothing of its own: its children belong to the
  // next father up. The walk ends at the top of the tree.
  while (father && Behavior(father) == "SkipNode") father = father->GetFatherProduct();
  return father;
}

std::unique_ptr<ZRBNodeList> ZRBPSNTreeUtil::GetChildren(const CADIProduct_var& product, int direct) {
  if (ConfigurableNodeBehaviorIsSet() && direct != 1) return ConfigurableGetChildren(product);
  return GetDirectChildren(product);
}

std::unique_ptr<ZRBNodeList> ZRBPSNTreeUtil::GetDirectChildren(const CADIProduct_var& product) {
  auto children = std::make_unique<ZRBNodeList>();
  GetDirectChildren(product, *children);
  return children;
}

HRESULT ZRBPSNTreeUtil::GetDirectChildren(const CADIProduct_var& product, ZRBNodeList& children) {
  if (!product) return E_FAIL;
  CADAutoProduct_var automation(product);
  int count = 0;
  if (!automation || FAILED(automation->get_Count(count))) {
    ZRB_DEBUG("ZRB: get_Count failed");
    return E_FAIL;
  }
  for (int i = 1; i <= count; ++i) {
    CADIProduct_var child;
    if (FAILED(automation->Item(i, child)) || !child) {
      ZRB_DEBUG("ZRB: Item(%d) failed", i);
      continue;
    }
    children.Append(CADBaseUnknown_var(child));
  }
  return S_OK;
}

std::unique_ptr<ZRBNodeList> ZRBPSNTreeUtil::ConfigurableGetChildren(const CADIProduct_var& product) {
  auto result = std::make_unique<ZRBNodeList>();
  auto direct = GetDirectChildren(product);
  for (const auto& node : *direct) {
    CADIProduct_var child(node);
    if (!child) continue;
    if (!NodeNeedsConfigurableBehavior(child)) {
      result->Append(node);
    } else if (Behavior(child) == "SkipNode") {
      AppendAll(*result, *ConfigurableGetChildren(child));
    }
    // Any other behaviour ("IgnoreNode", "IgnoreNodeAndWarn", a site's own
    // name) leaves the child out.
  }
  return result;
}

int ZRBPSNTreeUtil::GetChildrenCount(const CADIProduct_var& product) {
  if (!product) return 0;
  if (ConfigurableNodeBehaviorIsSet()) return GetChildren(product, 0)->Size();
  CADAutoProduct_var automation(product);
  int count = 0;
  if (!automation || FAILED(automation->get_Count(count))) {
    ZRB_DEBUG("ZRB: get_Count failed");
    return 0;
  }
  return count;
}

// ---------------------------------------------------------------- descendants

std::unique_ptr<ZRBNodeList> ZRBPSNTreeUtil::GetAllChildren(const CADIProduct_var& product, int direct) {
  auto nodes = std::make_unique<ZRBNodeList>();
  GetAllChildren(product, *nodes, direct);
  return nodes;
}

HRESULT ZRBPSNTreeUtil::GetAllChildren(const CADIProduct_var& product, ZRBNodeList& nodes, int direct) {
  if (!product) return E_FAIL;
  auto children = GetChildren(product, direct);
  for (const auto& node : *children) {
    GetAllChildren(CADIProduct_var(node), nodes, direct);
    nodes.Append(node);
  }
  return S_OK;
}

std::unique_ptr<ZRBNodeList> ZRBPSNTreeUtil::GetAllZRBChildren(const CADIProduct_var& product, int direct) {
  auto nodes = std::make_unique<ZRBNodeList>();
  GetAllZRBChildren(product, *nodes, direct);
  return nodes;
}

HRESULT ZRBPSNTreeUtil::GetAllZRBChildren(const CADIProduct_var& product, ZRBNodeList& nodes, int direct) {
  if (!product) return E_FAIL;
  if (!g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_OPTIMIZE_NONZRB", "ON", 1)) return GetAllChildren(product, nodes, direct);
  bool workbench = IsWorkbenchProduct(product);
  if (!workbench && !WasLoadedFromPdm(product)) {
    ZRB_DEBUG("ZRB: Not parsing tree starting at %s", PartNumberOf(product).c_str());
    return S_OK;
  }
  auto children = GetChildren(product, direct);
  for (const auto& node : *children) {
    CADIProduct_var child(node);
    if (workbench && !WasLoadedFromPdm(child)) {
      ZRB_DEBUG("ZRB: Not parsing tree starting at %s", PartNumberOf(child).c_str());
      continue;
    }
    nodes.Append(node);
    GetAllChildren(child, nodes, direct);
  }
  return S_OK;
}

// ---------------------------------------------------------------- searching

HRESULT ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(const CADIProduct_var& product, const CADUnicodeString& partNumber,
                                                     ZRBNodeList* nodes) {
  if (!product || !nodes) return E_FAIL;
  if (!partNumber.IsEmpty() && PartNumberOf(product) == partNumber) nodes->Append(CADBaseUnknown_var(product));
  auto children = GetChildren(product, 0);
  for (const auto& node : *children) GetTreeNodesHavingPartNumber(CADIProduct_var(node), partNumber, nodes);
  return S_OK;
}

HRESULT ZRBPSNTreeUtil::GetTreeNodesHavingRefProduct(const CADIProduct_var& product, const CADIProduct_var& reference,
                                                     ZRBNodeList* nodes) {
  if (!product || !reference || !nodes) return E_FAIL;
  CADIProduct_var mine = product->GetReferenceProduct();
  if (mine && mine.IsEqual(reference->GetReferenceProduct())) nodes->Append(CADBaseUnknown_var(product));
  auto children = GetChildren(product, 0);
  for (const auto& node : *children) GetTreeNodesHavingRefProduct(CADIProduct_var(node), reference, nodes);
  return S_OK;
}

HRESULT ZRBPSNTreeUtil::GetEmbeddedNodesforRefProduct(const CADIProduct_var& product, ZRBNodeList& nodes) {
  if (!product) return E_FAIL;
  auto children = GetDirectChildren(product);
  for (const auto& node : *children) {
    CADIProduct_var child(node);
    if (!child || !child->IsEmbeddedComponent()) continue;
    nodes.Append(node);
    GetEmbeddedNodesforRefProduct(child, nodes);
  }
  return S_OK;
}

HRESULT ZRBPSNTreeUtil::NodeIsUnderRegularZRBNode(const CADIProduct_var& product, int* result) {
  if (!product || !result) return E_FAIL;
  *result = 0;
  for (CADIProduct_var father = GetFatherProduct(product); father; father = GetFatherProduct(father)) {
    if (!IsWorkbenchProduct(father) && GlobPropertyManager.IsReferencePropertySet(father, "ZRB_OBID")) {
      *result = 1;
      break;
    }
  }
  return S_OK;
}

// ---------------------------------------------------------------- documents and windows

HRESULT ZRBPSNTreeUtil::GetRootProductFromDocument(CADDocument* document, CADIProduct_var* product) {
  if (!document || !product) return E_FAIL;
  CADListValCADBaseUnknown_var roots = document->GiveDocRoots();
  if (roots.Size() < 1) return E_FAIL;
  *product = CADIProduct_var(roots[1]);
  return *product ? S_OK : E_FAIL;
}

HRESULT ZRBPSNTreeUtil::GetTopLevelProduct(CADIProduct_var& product) {
  product = nullptr;
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  CADDocument* document = editor ? editor->GetDocument() : nullptr;
  if (!document) {
    ZRB_DEBUG("ZRB: *** cannot get Document ***");
    return E_FAIL;
  }
  return GetRootProductFromDocument(document, &product);
}

HRESULT ZRBPSNTreeUtil::SelectInstanceInActWindow(const CADUnicodeString& instanceName, int firstOnly) {
  if (FAILED(UnselectInstancesInActWindow())) return E_FAIL;
  return SelectInstanceInActWindowWOEmpty(instanceName, firstOnly);
}

HRESULT ZRBPSNTreeUtil::SelectInstanceInActWindow(const CADListValCADUnicodeString& instanceNames, int firstOnly) {
  if (FAILED(UnselectInstancesInActWindow())) return E_FAIL;
  HRESULT result = S_OK;
  for (const auto& name : instanceNames)
    if (FAILED(SelectInstanceInActWindowWOEmpty(name, firstOnly))) result = E_FAIL;
  return result;
}

HRESULT ZRBPSNTreeUtil::SelectInstanceInActWindowWOEmpty(const CADUnicodeString& instanceName, int firstOnly) {
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  CADIProduct_var root;
  if (!editor || FAILED(GetTopLevelProduct(root))) return E_FAIL;
  auto nodes = GetAllChildren(root, 1);
  nodes->InsertAt(1, CADBaseUnknown_var(root));
  int selected = 0;
  for (const auto& node : *nodes) {
    CADIProduct_var product(node);
    CADUnicodeString name;
    if (!product || FAILED(product->GetPrdInstanceName(name)) || !(name == instanceName)) continue;
    CADPathElement path;
    ZRBProductPathUtil::GetCADPathElementFromRoot(product, path);
    editor->GetCSO()->AddElement(path);
    ++selected;
    if (firstOnly) break;
  }
  return selected ? S_OK : E_FAIL;
}

HRESULT ZRBPSNTreeUtil::UnselectInstancesInActWindow() {
  CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
  if (!editor) return E_FAIL;
  editor->GetCSO()->Empty();
  return S_OK;
}

// ---------------------------------------------------------------- configurable node behaviour

int ZRBPSNTreeUtil::NodeNeedsConfigurableBehavior(const CADIProduct_var& product, int* decided) {
  if (decided) *decided = 0;
  if (!product || !ConfigurableNodeBehaviorIsSet()) return 0;
  CADUnicodeString needs = GlobPropertyManager.GetReferenceProperty(product, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR");
  if (decided) *decided = (needs == "1" || needs == "0") ? 1 : 0;
  return needs == "1" ? 1 : 0;
}

int ZRBPSNTreeUtil::CheckForConfigurableBehavior(const CADIProduct_var& product, CADUnicodeString& behavior,
                                                 CADUnicodeString& prefix) {
  if (!ConfigurableNodeBehaviorIsSet() || !product) return 0;
  ZRBConfigBehaviorManager* manager = GetConfigBehaviorManager();
  if (!manager) return 0;
  CADListPtrZRBConfigurableBehavior all = manager->GetListOfConfigurableBehaviors();
  CADListPtrZRBConfigurableBehavior matching = manager->FilterForPartNumberPrefix(PartNumberOf(product), &all);
  if (matching.Size() == 0) return 0;
  CADListPtrZRBConfigurableBehavior typed;
  if (product->IsEmbeddedComponent()) {
    typed = manager->FilterForBehaviorType("EmbeddedNodeBehavior", &matching);
  } else if (GlobPropertyManager.GetProductType(product) == "CADProduct") {
    typed = manager->FilterForBehaviorType("ProductNodeBehavior", &matching);
  } else {
    return 0;
  }
  if (typed.Size() > 1) return 0;  // ambiguous: stays undecided, asked again next time
  if (typed.Size() == 1) {
    behavior = typed[1]->GetBehavior();
    prefix = typed[1]->GetPartNumberPrefix();
  }
  return 1;
}

int ZRBPSNTreeUtil::SetConfigurableBehaviorIfNecessary(const CADIProduct_var& product) {
  int decided = 0;
  if (!product) return 1;
  NodeNeedsConfigurableBehavior(product, &decided);
  if (decided) return 1;
  ZRBTraceUtil::PrintNode("not checked yet", product);
  CADUnicodeString behavior, prefix;
  if (!CheckForConfigurableBehavior(product, behavior, prefix)) return 1;
  if (behavior.IsEmpty()) {
    // A prefix matched but no behaviour of this node's type: decided, and
    // nothing to apply. Marking it as needing a nameless behaviour would
    // make every walk leave the node out.
    GlobPropertyManager.SetReferenceProperty(product, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR", "0");
    return 1;
  }
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR", "1");
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_CONFIGURABLE_BEHAVIOR", behavior);
  GlobPropertyManager.SetReferenceProperty(product, "ZRB_CONFIGURABLE_BEHAVIOR_PREFIX", prefix);
  return 1;
}

int ZRBPSNTreeUtil::SetConfigurableBehaviorIfNecessary(const ZRBNodeList& products) {
  for (const auto& node : products) SetConfigurableBehaviorIfNecessary(CADIProduct_var(node));
  return 1;
}

int ZRBPSNTreeUtil::SetConfigurableBehaviorAttributesToStructure(const CADIProduct_var& product) {
  if (!product) return 0;
  return SetConfigurableBehaviorIfNecessary(*GetAllChildren(product, 0));
}

int ZRBPSNTreeUtil::ConfigurableNodeBehaviorIsSet() {
  if (g_behaviorSwitch < 0) g_behaviorSwitch = g_ZRBConfig.CompareEnvVar("ZRB_CONFIGURABLE_NODE_BEHAVIOR", "ON", 1);
  return g_behaviorSwitch;
}

ZRBConfigBehaviorManager* ZRBPSNTreeUtil::GetConfigBehaviorManager() {
  if (!g_behaviorManager) g_behaviorManager = g_ZRBConfig.GetConfigBehaviorManager();
  return g_behaviorManager;
}

void ZRBPSNTreeUtil::ResetForTests() {
  g_behaviorSwitch = -1;
  g_behaviorManager = nullptr;
}

// ---------------------------------------------------------------- node tests

int ZRBPSNTreeUtil::IsWorkbenchProduct(const CADIProduct_var& product) {
  return product && PartNumberOf(product) == kWorkbenchPartNumber ? 1 : 0;
}

int ZRBPSNTreeUtil::WasLoadedFromPdm(const CADIProduct_var& product) {
  return product && !GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").IsEmpty() ? 1 : 0;
}
