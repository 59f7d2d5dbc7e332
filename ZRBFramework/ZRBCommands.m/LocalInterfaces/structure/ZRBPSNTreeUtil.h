// Walks the host's product structure for the module: fathers, children and
// descendants (with the configurable node behaviour that skips or ignores
// nodes by part-number prefix), nodes with a part number or reference, the
// top-level product of the current window and the selection in it.
#pragma once

#include <memory>

#include "CADBaseTypes.h"
#include "CADIProduct.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBConfigBehaviorManager;

using ZRBNodeList = CADListValCADBaseUnknown_var;

// Static helpers, used on the host's user-interface thread. Lists that a
// function hands out are new and belong to the caller.
class ZRBPSNTreeUtil {
 public:
  // --- fathers and children
  // The father; with the configurable behaviour on, fathers marked
  // "SkipNode" are passed over. Null for a null product or a top node.
  static CADIProduct_var GetFatherProduct(const CADIProduct_var& product);
  // Direct children; with the behaviour on and direct not 1, the
  // configurable view (ConfigurableGetChildren).
  static std::unique_ptr<ZRBNodeList> GetChildren(const CADIProduct_var& product, int direct);
  // The host's direct children in the order of the automation collection.
  static std::unique_ptr<ZRBNodeList> GetDirectChildren(const CADIProduct_var& product);
  static HRESULT GetDirectChildren(const CADIProduct_var& product, ZRBNodeList& children);
  // Direct children with the behaviour applied: "SkipNode" children are
  // replaced by their own (configurable) children, other behaviours drop
  // the child.
  static std::unique_ptr<ZRBNodeList> ConfigurableGetChildren(const CADIProduct_var& product);
  static int GetChildrenCount(const CADIProduct_var& product);

  // --- descendants (each node after its own descendants)
  static std::unique_ptr<ZRBNodeList> GetAllChildren(const CADIProduct_var& product, int direct);
  static HRESULT GetAllChildren(const CADIProduct_var& product, ZRBNodeList& nodes, int direct);
  // Descendants that came from the PDM (every descendant unless
  // "ZRB_ENABLE_OPTIMIZE_NONZRB" is "ON").
  static std::unique_ptr<ZRBNodeList> GetAllZRBChildren(const CADIProduct_var& product, int direct);
  static HRESULT GetAllZRBChildren(const CADIProduct_var& product, ZRBNodeList& nodes, int direct);

  // --- searching a subtree (the product included, pre-order)
  static HRESULT GetTreeNodesHavingPartNumber(const CADIProduct_var& product, const CADUnicodeString& partNumber,
                                              ZRBNodeList* nodes);
  static HRESULT GetTreeNodesHavingRefProduct(const CADIProduct_var& product, const CADIProduct_var& reference,
                                              ZRBNodeList* nodes);
  // Appends, recursively, the children that are embedded components.
  static HRESULT GetEmbeddedNodesforRefProduct(const CADIProduct_var& product, ZRBNodeList& nodes);
  // *result 1 when a father carries "ZRB_OBID" and is not the workbench product.
  static HRESULT NodeIsUnderRegularZRBNode(const CADIProduct_var& product, int* result);

  // --- documents and windows
  static HRESULT GetRootProductFromDocument(CADDocument* document, CADIProduct_var* product);
  // The root product of the current editor's document.
  static HRESULT GetTopLevelProduct(CADIProduct_var& product);
  // Empties the current selection, then selects the matching instances.
  // `firstOnly` non-zero selects only the first match of each name.
  static HRESULT SelectInstanceInActWindow(const CADUnicodeString& instanceName, int firstOnly);
  static HRESULT SelectInstanceInActWindow(const CADListValCADUnicodeString& instanceNames, int firstOnly);
  // Adds to the current selection every instance of the top-level tree with
  // that instance name, each as its path from the root.
  static HRESULT SelectInstanceInActWindowWOEmpty(const CADUnicodeString& instanceName, int firstOnly);
  static HRESULT UnselectInstancesInActWindow();

  // --- configurable node behaviour
  // 1 when the behaviour is on and the node's "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR"
  // is "1"; *decided (optional) is 1 when that property is "1" or "0".
  static int NodeNeedsConfigurableBehavior(const CADIProduct_var& product, int* decided = nullptr);
  // The one configured behaviour for the node (by part-number prefix and
  // node type); 0 when off, ambiguous or not applicable.
  static int CheckForConfigurableBehavior(const CADIProduct_var& product, CADUnicodeString& behavior,
                                          CADUnicodeString& prefix);
  // Decides and stores the behaviour of undecided nodes; always 1.
  static int SetConfigurableBehaviorIfNecessary(const CADIProduct_var& product);
  static int SetConfigurableBehaviorIfNecessary(const ZRBNodeList& products);
  static int SetConfigurableBehaviorAttributesToStructure(const CADIProduct_var& product);
  // The process-wide switch ("ZRB_CONFIGURABLE_NODE_BEHAVIOR" "ON"), read on
  // first use and kept.
  static int ConfigurableNodeBehaviorIsSet();
  static ZRBConfigBehaviorManager* GetConfigBehaviorManager();
  // Forgets the switch and manager (tests).
  static void ResetForTests();

  // The part number that makes a product the workbench (the virtual root a read may build below).
  static constexpr const char* kWorkbenchPartNumber = "ZRB_Workbench";

  // --- node tests shared by the walks
  static int IsWorkbenchProduct(const CADIProduct_var& product);
  // 1 when the node's reference carries a PDM identity ("ZRB_OBID").
  static int WasLoadedFromPdm(const CADIProduct_var& product);
};
