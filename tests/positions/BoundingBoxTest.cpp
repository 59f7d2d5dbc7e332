// Boxes from the parts' visualisation: the render visitor on synthetic representation trees, and part and
// product boxes over a real session (positions applied, empty parts skipped, vis children, the lazy retry,
// a save and a load).
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADIMovable.h"
#include "CADVisManager.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBBoundingBox.h"
#include "ZRBGeometryBoxSource.h"
#include "ZRBModelBoxSource.h"

namespace {

using Box = std::optional<std::array<double, 6>>;  // low x y z, high x y z; none: empty

Box Of(const CADMathBox& box) {
  if (box.IsEmpty()) return std::nullopt;
  const CADMathPoint l = box.GetLow(), h = box.GetHigh();
  return std::array<double, 6>{l.x, l.y, l.z, h.x, h.y, h.z};
}

std::shared_ptr<CAD3DBodyRep> Body(CAD3DFace face, bool hidden = false) {
  auto body = std::make_shared<CAD3DBodyRep>();
  body->AddFace(std::move(face));
  body->SetHidden(hidden);
  return body;
}

// Vertex 0 at the origin, the others along the axes; index lists name them out of order.
CAD3DFace Face(float scale, int kind) {
  CAD3DFace face;
  face.coordinates = {0, 0, 0, scale, 0, 0, 0, 2 * scale, 0, 0, 0, 3 * scale};
  if (kind == 0) face.triangles = {3, 1, 0, 2, 3, 1};
  if (kind == 1) face.stripCounts = {4}, face.strips = {2, 0, 3, 1};
  if (kind == 2) face.fanCounts = {4}, face.fans = {3, 2, 1, 0}, face.planar = true;
  return face;
}

Box Draw(const CAD3DRepPtr& rep) {
  CAD3DViewpoint viewpoint;
  viewpoint.AddRep(rep);
  CADMathBox box;
  ZRBBoundingBox().GetBoundingBox(nullptr, &viewpoint, &box);
  return Of(box);
}

class BoundingBoxTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADVisManager::Get().Reset();
    ZRBGeometryBoxSource::Install();
  }
  void TearDown() override {
    CADFrmLayout::GetCurrentLayout().Reset();
    CADVisManager::Get().Reset();
    CommandFixture::TearDown();
  }
  CADDocument* NewPart(std::vector<CADGeometryBody> bodies) {
    CADDocument* part = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    part->SetBodies(std::move(bodies));
    return part;
  }
  static CADGeometryBody Brick(double dx, double dy, double dz, bool hidden = false) {
    CADGeometryBody body;
    body.hidden = hidden;
    for (int i = 0; i < 8; ++i) body.vertices.push_back({(i & 1) ? dx : 0.0, (i & 2) ? dy : 0.0, (i & 4) ? dz : 0.0});
    body.triangles = {{0, 1, 3}, {4, 5, 7}, {0, 2, 6}};
    return body;
  }
  CADIProduct_var Place(const CADIProduct_var& father, CADDocument* document, const CADMathTransformation& at) {
    CADIProduct_var child;
    EXPECT_EQ(father->AddExternalComponent(document, child), S_OK);
    EXPECT_EQ(CADIMovable_var(child)->SetPosition(at), S_OK);
    return child;
  }
  Box ProductBox(CADIProduct_var root) {
    ProbeCommand* command = new ProbeCommand();
    CADMathBox box;
    const int ok = command->GetProductBoundingBox(root, box, CADMathTransformation::Identity(), nullptr);
    command->Release();
    return ok ? Of(box) : Box{std::array<double, 6>{-1, -1, -1, -1, -1, -1}};
  }

  SampleSession sample_;
};

TEST_F(BoundingBoxTest, TheVisitorTakesEveryFaceVertexOfEveryBodyBelowNestedBags) {
  auto nested = [](std::vector<CAD3DRepPtr> leaves) {
    auto top = std::make_shared<CAD3DBagRep>(), middle = std::make_shared<CAD3DBagRep>(),
         bottom = std::make_shared<CAD3DBagRep>();
    for (auto& leaf : leaves) bottom->AddChild(leaf);
    middle->AddChild(bottom);
    top->AddChild(middle);
    return std::static_pointer_cast<CAD3DRep>(top);
  };
  auto hiddenBag = [&] {
    auto bag = nested({Body(Face(5, 0))});
    bag->SetHidden(true);
    auto top = std::make_shared<CAD3DBagRep>();
    top->AddChild(bag);
    top->AddChild(Body(Face(1, 0)));
    return std::static_pointer_cast<CAD3DRep>(top);
  };
  using B = std::array<double, 6>;
  const struct {
    const char* name;
    const char* excludeHidden;
    CAD3DRepPtr tree;
    Box expected;
  } cases[] = {
      {"triangles, strips and fans", "", nested({Body(Face(1, 0)), Body(Face(2, 1)), Body(Face(4, 2))}),
       B{0, 0, 0, 4, 8, 12}},
      {"hidden body counts with the switch off", "", nested({Body(Face(1, 0)), Body(Face(5, 0), true)}),
       B{0, 0, 0, 5, 10, 15}},
      {"hidden body left out with the switch on", "ON", nested({Body(Face(1, 0)), Body(Face(5, 0), true)}),
       B{0, 0, 0, 1, 2, 3}},
      {"a hidden bag hides what it holds", "ON", hiddenBag(), B{0, 0, 0, 1, 2, 3}},
      {"bags without faces", "", nested({}), std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetVariable("ZRB_BOUNDING_BOX_EXCLUDE_HIDDEN", c.excludeHidden);
    EXPECT_EQ(Draw(c.tree), c.expected);
  }
}

TEST_F(BoundingBoxTest, AProductBoxHoldsEveryPlacedPartBoxInTheProductsCoordinates) {
  CADDocument* brick = NewPart({Brick(2, 1, 1)});
  CADDocument* empty = NewPart({});
  CADDocument* assembly = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADProduct", assembly), S_OK);
  CADIProduct_var root = assembly->GetRootProduct();
  using T = CADMathTransformation;
  Place(root, brick, T::Identity());
  // In the subassembly the brick is turned about z and moved (x in [9, 10], y in [0, 2]); the subassembly is
  // turned about x and moved (y in [4, 5], z in [0, 2]). Another order of the products or a transposed
  // matrix gives another box.
  CADDocument* sub = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADProduct", sub), S_OK);
  Place(sub->GetRootProduct(), brick, T::Translation(10, 0, 0) * T::Rotation(2, 90));
  Place(root, sub, T::Translation(0, 5, 0) * T::Rotation(0, 90));
  Place(root, empty, T::Translation(-50, -50, -50));
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(assembly, window), S_OK);

  const Box expected = std::array<double, 6>{0, 0, 0, 10, 5, 2};
  Box got = ProductBox(root);
  ASSERT_TRUE(got);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR((*got)[k], (*expected)[k], 1e-6) << k;

  // Added after the window drew its tree: only the retry's model event gives it a representation.
  CADDocument* far = NewPart({Brick(1, 1, 1)});
  Place(root, far, T::Translation(0, 0, 20));
  got = ProductBox(root);
  ASSERT_TRUE(got);
  EXPECT_NEAR((*got)[5], 21, 1e-6);

  // A lone empty part reports zeros, and the model info writes them.
  CADMathBox lone;
  ProbeCommand* command = new ProbeCommand();
  CADIProduct_var emptyInstance = SampleSession::Child(root, "Part2.1");
  ASSERT_TRUE(emptyInstance);
  EXPECT_EQ(command->GetPartBoundingBox(emptyInstance.get(), &lone, nullptr), 1);
  command->Release();
  EXPECT_EQ(Of(lone), std::nullopt);
  double low[3], high[3];
  ASSERT_TRUE(ZRBModelBoxSource::Current().GetBox(root, assembly, window, low, high));
  EXPECT_NEAR(high[0], 10, 1e-6);
  EXPECT_NEAR(high[2], 21, 1e-6);
}

TEST_F(BoundingBoxTest, AVisChildIsALeafAndBoxesSurviveASaveAndALoad) {
  CADDocument* light = NewPart({Brick(3, 4, 5)});
  ASSERT_EQ(CADDocumentServices::SaveAs(light, sample_.Path("Light.CADPart")), S_OK);
  std::string text = sample_.ReadFile("Light.CADPart");
  text.replace(text.find(" CADPart"), 8, " vis");
  sample_.WriteFile("Light.vis", text);
  CADDocumentServices::ResetSession();
  CADDocument* vis = sample_.Open("Light.vis");
  ASSERT_TRUE(vis);
  CADDocument* assembly = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADProduct", assembly), S_OK);
  Place(assembly->GetRootProduct(), vis, CADMathTransformation::Translation(1, 1, 1));
  CADFrmWindow* window = nullptr;
  ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(assembly, window), S_OK);
  EXPECT_EQ(ProductBox(assembly->GetRootProduct()), (std::array<double, 6>{1, 1, 1, 4, 5, 6}));
}

}  // namespace
