#include "ZRBReadSessionActions.h"

#include <functional>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

using InstanceVisitor = std::function<void(const CADIProduct_var& father, const CADIProduct_var& child)>;

// Calls `visit(father, child)` for every instance below `root`, depth first.
void ForEachInstanceBelow(const CADIProduct_var& root, const InstanceVisitor& visit) {
  std::function<void(const CADIProduct_var&, int)> walk = [&](const CADIProduct_var& father, int depth) {
    if (depth > 256) return;
    CADListValCADBaseUnknown_var children = father->GetChildren();
    for (int i = 1; i <= children.Size(); ++i) {
      CADIProduct_var child(children[i]);
      if (!child) continue;
      visit(father, child);
      walk(child, depth + 1);
    }
  };
  walk(root, 0);
}

// The same for every product document of the session (a reference shared by several documents is walked once
// per use).
void ForEachInstance(const InstanceVisitor& visit) {
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (int i = 1; i <= documents.Size(); ++i) {
    CADDocument_var document(documents[i]);
    if (!document || document->GetType() != "CADProduct") continue;
    if (CADIProduct_var root = document->GetRootProduct()) ForEachInstanceBelow(root, visit);
  }
}

CADIProduct_var WorkbenchInSession() {
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (int i = 1; i <= documents.Size(); ++i) {
    CADDocument_var document(documents[i]);
    CADIProduct_var root = document ? document->GetRootProduct() : nullptr;
    if (root && ZRBPSNTreeUtil::IsWorkbenchProduct(root)) return root;
  }
  return nullptr;
}

int Show(CADDocument* document) {
  CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
  std::vector<CADFrmWindow*> windows = layout.GetWindowsOf(document);
  if (!windows.empty()) return SUCCEEDED(layout.SetCurrentWindow(windows.front()));
  CADFrmWindow* window = nullptr;
  return SUCCEEDED(layout.OpenWindow(document, window));
}

CADDocument* DocumentOfRoot(const CADIProduct_var& root) {
  CADListValCADBaseUnknown_var documents = CADDocumentServices::GetListOfDocuments();
  for (int i = 1; i <= documents.Size(); ++i) {
    CADDocument_var document(documents[i]);
    if (document && document->GetRootProduct().get() == root.get()) return document.get();
  }
  return nullptr;
}

}  // namespace

int ZRBReadSessionActions::CreateZRBWorkbenchProduct(int useRootAsWorkbench, ZRBObjectManager&, ZRBObject*,
                                                     CADIProduct_var& workbench) {
  ZRB_TRACE("ZRBReadSessionActions::CreateZRBWorkbenchProduct");
  workbench = WorkbenchInSession();
  if (workbench) {
    if (CADDocument* document = DocumentOfRoot(workbench)) Show(document);
    ZRB_TRACE_OK();
    return 1;
  }
  if (useRootAsWorkbench) {
    CADIProduct_var root;
    if (SUCCEEDED(ZRBPSNTreeUtil::GetTopLevelProduct(root)) && root && !ZRBPSNTreeUtil::WasLoadedFromPdm(root)) {
      const CADUnicodeString original = root->GetPartNumber();
      if (GlobPropertyManager.SetPartNumber(root, ZRBPSNTreeUtil::kWorkbenchPartNumber, 1, 0)) {
        GlobPropertyManager.SetReferenceProperty(root, "ZRB_ORIGINAL_PN_ZRB_WB", original);
        workbench = root;
        ZRB_TRACE_OK();
        return 1;
      }
    }
  }
  CADDocument* document = nullptr;
  if (FAILED(CADDocumentServices::New("CADProduct", document)) || !document) return 0;
  CADIProduct_var root = document->GetRootProduct();
  if (!root || !GlobPropertyManager.SetPartNumber(root, ZRBPSNTreeUtil::kWorkbenchPartNumber, 1, 0) ||
      !Show(document)) {
    ZRB_DEBUG("ZRB: the workbench product could not be made");
    CADDocumentServices::Remove(document);
    return 0;
  }
  workbench = root;
  ZRB_TRACE_OK();
  return 1;
}

void ZRBReadSessionActions::SetKeepAsNewStateToSession(ZRBObjectManager& answer) {
  ForEachInstance([&](const CADIProduct_var& father, const CADIProduct_var& child) {
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(father, child, "ZRB_RELATION");
    if (relation.IsEmpty()) return;
    const ZRBObject* object = answer.GetObject(relation.ConvertToString());
    if (object && object->GetSlotValue("KEEP_AS_NEW") == "1")
      GlobPropertyManager.SetInstanceProperty(father, child, "ZRB_KEEP_AS_NEW", "1");
  });
}

void ZRBReadSessionActions::SetShowNoShowStatesToSession(ZRBObjectManager& answer) {
  ForEachInstance([&](const CADIProduct_var& father, const CADIProduct_var& child) {
    const CADUnicodeString relation = GlobPropertyManager.GetInstanceProperty(father, child, "ZRB_RELATION");
    if (relation.IsEmpty()) return;
    const ZRBObject* object = answer.GetObject(relation.ConvertToString());
    if (!object) return;
    const CADString state = object->GetSlotValue("NOSHOW");
    if (state == "1") {
      GlobPropertyManager.SetPathToRootProperty(child, "ZRB_SET_NOSHOW", "1");
      child->SetActivationState(0);
    } else if (state == "0") {
      GlobPropertyManager.DeletePathToRootProperty(child, "ZRB_SET_NOSHOW");
      child->SetActivationState(1);
    }
  });
}

void ZRBReadSessionActions::HighlightProductsForUserAction(const ZRBReadState& state) {
  if (!state.AnyHighlight()) return;
  CADIProduct_var top;
  if (FAILED(ZRBPSNTreeUtil::GetTopLevelProduct(top)) || !top) return;
  CADListValCADUnicodeString names = state.addedInstances;
  ForEachInstanceBelow(top, [&names](const CADIProduct_var& father, const CADIProduct_var& child) {
    if (GlobPropertyManager.GetInstanceProperty(father, child, "ZRB_REPLACED_COMPONENT") == "1" ||
        GlobPropertyManager.GetInstanceProperty(father, child, "ZRB_REMOVED_IN_PDM") == "1") {
      CADUnicodeString name;
      if (SUCCEEDED(child->GetPrdInstanceName(name))) names.Append(name);
    }
  });
  if (names.Size() > 0) ZRBPSNTreeUtil::SelectInstanceInActWindow(names, 0);
}
