#include "ZRBReadSessionActions.h"

#include "ZRBTrace.h"

int ZRBReadSessionActions::CreateZRBWorkbenchProduct(int, ZRBObjectManager&, ZRBObject*, CADIProduct_var&) {
  ZRB_TRACE("ZRBReadSessionActions::CreateZRBWorkbenchProduct");
  return 0;
}

void ZRBReadSessionActions::SetKeepAsNewStateToSession(ZRBObjectManager&) {}

void ZRBReadSessionActions::SetShowNoShowStatesToSession(ZRBObjectManager&) {}

void ZRBReadSessionActions::HighlightProductsForUserAction(const ZRBReadState&) {}
