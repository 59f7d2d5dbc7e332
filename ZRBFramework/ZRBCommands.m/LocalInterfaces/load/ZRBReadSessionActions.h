// What a read does to the session around the structure it builds: the workbench product it builds below, the
// products the PDM asks to keep as new or to show/hide, and the highlighting of nodes that need the user.
#pragma once

#include "CADIProduct.h"
#include "ZRBReadState.h"

class ZRBObject;
class ZRBObjectManager;

// Static; user-interface thread only.
class ZRBReadSessionActions {
 public:
  // The workbench product the read builds below, shown in a window: a workbench product already in the session
  // is reused; otherwise a new product document whose part number is "ZRB_Workbench" (with `useRootAsWorkbench`,
  // the root product of the current window when it is none of the PDM's, its own part number kept in
  // "ZRB_ORIGINAL_PN_ZRB_WB"). 1 success, 0 failure (`workbench` then null).
  static int CreateZRBWorkbenchProduct(int useRootAsWorkbench, ZRBObjectManager& answer, ZRBObject* root,
                                       CADIProduct_var& workbench);
  // Every instance whose relation ("ZRB_RELATION") names an answer object with "KEEP_AS_NEW" "1" gets the
  // instance property "ZRB_KEEP_AS_NEW" "1": the PDM holds it as not stored yet.
  static void SetKeepAsNewStateToSession(ZRBObjectManager& answer);
  // Every instance whose relation names an answer object with "NOSHOW" "1" or "0" gets the path-to-root
  // property "ZRB_SET_NOSHOW" set or removed, and is deactivated or activated accordingly.
  static void SetShowNoShowStatesToSession(ZRBObjectManager& answer);
  // Selects, in the current window, the instances the read replaced or found removed in the PDM (by their
  // instance properties "ZRB_REPLACED_COMPONENT" and "ZRB_REMOVED_IN_PDM"); nothing when no flag is raised.
  static void HighlightProductsForUserAction(const ZRBReadState& state);
};
