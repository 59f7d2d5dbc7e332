#include "ZRBProductBox.h"

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIMovable.h"
#include "CADPathElement.h"
#include "CADVisManager.h"
#include "ZRBBoundingBox.h"
#include "ZRBCommandStates.h"
#include "ZRBFileUtil.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBProductPathUtil.h"
#include "ZRBTrace.h"

namespace {

// Documents whose own geometry makes a leaf of the product walk.
bool IsGeometryType(const CADUnicodeString& type) { return type == "CADPart" || type == "vis" || type == "model"; }

bool DocumentType(const CADIProduct_var& product, CADUnicodeString& type) {
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document) {
    ZRB_DEBUG("(pDoc == NULL)");
    return false;
  }
  CADDocId id;
  if (FAILED(document->GetDocId(id))) {
    ZRB_DEBUG("pDoc->GetDocId() Failed");
    return false;
  }
  if (FAILED(id.GetType(type))) {
    ZRB_DEBUG("oDocId->GetType(usType) Failed");
    return false;
  }
  return true;
}

}  // namespace

int ZRBProductBox::GetPartBoundingBox(CADFrmEditor* editor, CADIProduct* product, CADMathBox* box,
                                      CADFrmWindow* window) {
  ZRB_TRACE("ZRBCommand::GetPartBoundingBox");
  if (!product || !box) return 0;
  if (!window) window = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
  if (!window) return 0;
  if (!editor) editor = window->GetEditor();
  CADViewer* viewer = CADVisManager::Get().GetViewer(window);
  CAD3DViewpoint* viewpoint = viewer ? viewer->GetMain3DViewpoint() : nullptr;
  if (!viewpoint) return 0;

  CADIProduct* root = nullptr;
  if (!editor || !ZRBCommandStates::GetProductFromDocument(editor->GetDocument(), root) || !root) {
    ZRB_DEBUG("ZRB: GetProductFromDocument failed");
    return 0;
  }
  // The path already ends with the product itself.
  CADPathElement path;
  const CADIProduct_var target(product);
  ZRBProductPathUtil::GetCADPathElementFromRoot(target, path);
  CADRepPath reps;
  CADVisManager& visu = CADVisManager::Get();
  if (FAILED(visu.GenerateRepPathFromPathElement(path, viewpoint, reps)) || reps.empty()) {
    ZRB_DEBUG("ZRB: GenerateRepPathFromPathElement failed");
    visu.Dispatch(target, CADModelEvent::Modification);
    visu.Dispatch(target, CADModelEvent::Redraw);
    ZRB_DEBUG("ZRB: Retrying GenerateRepPathFromPathElement");
    if (FAILED(visu.GenerateRepPathFromPathElement(path, viewpoint, reps)) || reps.empty()) {
      ZRB_DEBUG("ZRB: Final GenerateRepPathFromPathElement failed");
      return 0;
    }
  }
  CAD3DRep* rep = reps.back().get();
  if (!rep) return 0;

  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(target, &document);
  CADDocId id;
  if (!document || FAILED(document->GetDocId(id))) {
    ZRB_DEBUG("pDoc->GetDocId() Failed");
    return 0;
  }
  CADUnicodeString type;
  if (FAILED(id.GetType(type))) {
    ZRB_DEBUG("oDocId->GetType(sType) Failed");
    return 0;
  }
  if (!IsGeometryType(type)) {
    ZRB_DEBUG("ZRB: Error - CADPart expected!");
    return 0;
  }
  ZRBBoundingBox visitor;
  visitor.GetBoundingBox(rep, viewpoint, box);
  ZRB_TRACE_OK();
  return 1;
}

int ZRBProductBox::GetProductBoundingBox(CADFrmEditor* editor, const CADIProduct_var& product, CADMathBox& box,
                                         const CADMathTransformation& transformation, CADFrmWindow* window) {
  if (!product) {
    ZRB_DEBUG("GetProductBoundingBox Failed");
    return 0;
  }
  CADUnicodeString type;
  if (!DocumentType(product, type)) return 0;
  if (IsGeometryType(type)) {
    CADMathBox part;
    if (!GetPartBoundingBox(editor, product.get(), &part, window)) return 0;
    // An empty part adds nothing (it must not pull the box to the origin).
    box.AddInPlace(part.Transformed(transformation));
    return 1;
  }
  std::unique_ptr<ZRBNodeList> children = ZRBPSNTreeUtil::GetChildren(product, 0);
  if (!children) return 1;
  for (const CADBaseUnknown_var& node : *children) {
    CADIProduct_var child(node);
    CADIMovable_var movable(node);
    CADMathTransformation position;
    if (!child || !movable || FAILED(movable->GetPosition(position))) return 0;
    if (!GetProductBoundingBox(editor, child, box, transformation * position, window)) return 0;
  }
  return 1;
}
