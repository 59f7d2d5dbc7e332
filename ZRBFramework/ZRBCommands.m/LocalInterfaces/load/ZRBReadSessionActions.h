// What a read does to the session around the structure it builds: the workbench product it builds below, the
// products the PDM asks to keep as new or to show/hide, and the highlighting of nodes that need the user.
#pragma once

#include "CADIProduct.h"
#include "ZRBReadState.h"

class ZRBObject;
class ZRBObjectManager;

class ZRBReadSessionActions {
 public:
  // Creates a new product document whose part number is "ZRB_Workbench" and returns its root product; with
  // `useRootAsWorkbench` the answer's root product itself becomes the workbench. 1 success, 0 failure.
  static int CreateZRBWorkbenchProduct(int useRootAsWorkbench, ZRBObjectManager& answer, ZRBObject* root,
                                       CADIProduct_var& workbench);
  // Marks the session products the answer lists as to be kept new (not yet stored in the PDM).
  static void SetKeepAsNewStateToSession(ZRBObjectManager& answer);
  // Applies the answer's show/no-show states to the instances they name.
  static void SetShowNoShowStatesToSession(ZRBObjectManager& answer);
  // Selects the nodes the read flagged as added, changed or removed, so that the user sees them.
  static void HighlightProductsForUserAction(const ZRBReadState& state);
};
