#include "CADVisExport.h"

#include "CADDocument.h"
#include "CADDocumentFiles.h"
#include "CADDocumentImage.h"
#include "CADDocumentLoader.h"
#include "CADDocumentSession.h"
#include "CADDocumentWriter.h"
#include "CADILinkableObject.h"
#include "CADIMovable.h"

namespace {

void CollectBodies(const CADIProduct_var& product, const CADMathTransformation& position,
                   std::vector<CADGeometryBody>& bodies) {
  if (product->GetChildrenCount() > 0) {
    for (const CADBaseUnknown_var& node : product->GetChildren()) {
      CADIProduct_var child(node);
      CADIMovable_var movable(node);
      CADMathTransformation at;
      if (child && movable && SUCCEEDED(movable->GetPosition(at))) CollectBodies(child, position * at, bodies);
    }
    return;
  }
  CADDocument* shape = product->GetShapeRepresentationDocument("Default");
  CADIProduct_var reference = product->GetReferenceProduct();
  CADILinkableObject_var linkable = reference ? reference : product;
  if (!shape && linkable) shape = linkable->GetDocument();
  if (!shape) return;
  for (CADGeometryBody body : shape->GetBodies()) {
    for (CADMathPoint& p : body.vertices) p = position * p;
    bodies.push_back(std::move(body));
  }
}

}  // namespace

HRESULT CADVisExport::Save(CADDocument* document, const CADUnicodeString& path, const CADUnicodeString& partNumber) {
  if (!document || !document->IsInSession())
    return CADDocumentSession::Get().Fail("no document of the session to save");
  const CADUnicodeString& type = document->GetType();
  if (!(type == "CADPart" || type == "CADProduct"))
    return CADDocumentSession::Get().Fail("only parts and products have a vis");
  if (path.IsEmpty() || partNumber.IsEmpty())
    return CADDocumentSession::Get().Fail("no path or part number for the vis");
  const CADUnicodeString target = CADDocumentLoader::Absolute(path);
  if (CADDocumentSession::Get().Find(target))
    return CADDocumentSession::Get().Fail("another document is open as '" + target.str() + "'");
  CADDocumentImage image;
  image.type = "vis";
  image.hasRoot = true;
  image.root.partNumber = partNumber;
  if (CADIProduct_var root = document->GetRootProduct())
    CollectBodies(root, CADMathTransformation::Identity(), image.bodies);
  std::string error;
  if (!CADDocumentFiles::WriteAtomically(target.str(), CADDocumentWriter::Write(image), false, error))
    return CADDocumentSession::Get().Fail(error);
  CADDocumentSession::Get().Succeed();
  return S_OK;
}
