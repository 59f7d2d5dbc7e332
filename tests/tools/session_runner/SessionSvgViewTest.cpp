// The session's SVG picture: parts drawn where their positions put them, and detail too fine or too hidden to
// see left out, so that a large structure gives a picture of bounded size rather than one polygon per triangle.
#include <gtest/gtest.h>

#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "ZRBSessionSvgView.h"

namespace {

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

CADDocument* Part(double size, int triangles) {
  CADDocument* part = nullptr;
  CADDocumentServices::New("CADPart", part);
  CADGeometryBody body;
  for (int i = 0; i < triangles; ++i) {
    const int first = static_cast<int>(body.vertices.size());
    body.vertices.insert(body.vertices.end(), {{0, 0, i * size}, {size, 0, i * size}, {0, size, i * size}});
    body.triangles.push_back({first, first + 1, first + 2});
  }
  body.triangles.push_back({0, 1, 1 << 20});  // a damaged index is skipped, not drawn
  part->SetBodies({body});
  return part;
}

TEST(SessionSvgView, PartsTooSmallToSeeAreDotsAndTheBoxHoldsEveryPlacedTriangle) {
  CADDocumentServices::ResetSession();
  CADDocumentServices::SetNewDocumentDirectory("/tmp");
  CADDocument* assembly = nullptr;
  CADDocumentServices::New("CADProduct", assembly);
  CADIProduct_var root = assembly->GetRootProduct(), plate, screw;
  root->AddExternalComponent(Part(1000, 1), plate);
  CADIProduct_var hidden;  // under the plate as the viewer sees it
  root->AddExternalComponent(Part(50, 1), hidden);
  CADIMovable_var(hidden)->SetPosition(CADMathTransformation::Translation(200, 200, -100));
  for (int i = 0; i < 2; ++i) {
    root->AddExternalComponent(Part(0.01, 200), screw);
    CADIMovable_var(screw)->SetPosition(CADMathTransformation::Translation(500, 500, 10.0 * i) *
                                        CADMathTransformation::Rotation(2, 90));
  }
  const ZRBSessionSvgView view({root});
  EXPECT_EQ(view.GetTriangleCount(), 402u);
  EXPECT_DOUBLE_EQ(view.GetBox().GetHigh().x, 1000);
  EXPECT_NEAR(view.GetBox().GetHigh().z, 10 + 199 * 0.01, 1e-9);
  const std::string svg = view.Render();
  EXPECT_EQ(Count(svg, "<polygon"), 1u) << "the plate's triangle hides the one below it";
  EXPECT_EQ(Count(svg, "<rect x="), 2u) << "each screw is one dot";
  EXPECT_EQ(Count(svg, "<line"), 12u);

  root = plate = screw = hidden = nullptr;
  CADDocumentServices::ResetSession();
  EXPECT_NE(ZRBSessionSvgView({}).Render().find("no geometry"), std::string::npos);
}

}  // namespace
