// Instance positions relative to the father and to ancestors, and setting a
// position through one occurrence of a shared reference.
#include <gtest/gtest.h>

#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "CADSampleSession.h"
#include "SampleSession.h"

namespace {

using S = SampleSession;
using C = CADSampleSession;

using T = CADMathTransformation;

const T kBracket2 = T::Translation(0, 300, 0) * T::Rotation(2, 180);
const T kBolt2 = T::Translation(90, 40, 5) * T::Rotation(2, 90);

T PositionOf(const CADIProduct_var& node, const CADIProduct_var& context = nullptr) {
  T out = T::Translation(999, 999, 999);
  EXPECT_EQ(CADIMovable_var(node)->GetPosition(out, context.get()), S_OK);
  return out;
}

TEST(Position, RelativeToFatherOrAncestorComposesTheLevels) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  CADIProduct_var bracket2 = S::Child(root, "Bracket.2");
  CADIProduct_var bolt = S::Node(root, "Bracket.2/Bolt.2");
  const struct {
    const char* what;
    CADIProduct_var context;
    T expected;
  } cases[] = {
      {"no context means the father", nullptr, kBolt2},
      {"the father", bracket2, kBolt2},
      {"the root", root, kBracket2 * kBolt2},
      {"itself", bolt, T()},
  };
  for (const auto& c : cases) EXPECT_TRUE(PositionOf(bolt, c.context).IsEqual(c.expected, 1e-12)) << c.what;
  // The bolt's origin in assembly coordinates: turned twice, moved twice.
  CADMathPoint origin = PositionOf(bolt, root) * CADMathPoint{0, 0, 0};
  EXPECT_NEAR(origin.x, -90, 1e-12);
  EXPECT_NEAR(origin.y, 260, 1e-12);
  EXPECT_NEAR(origin.z, 5, 1e-12);
  // Contexts that are no ancestor are refused; a root sits at the identity.
  T out;
  EXPECT_EQ(CADIMovable_var(bolt)->GetPosition(out, S::Child(root, "Bracket.1").get()), E_FAIL);
  EXPECT_EQ(CADIMovable_var(bolt)->GetPosition(out, S::Node(root, "Bracket.2/Bolt.1").get()), E_FAIL);
  EXPECT_EQ(CADIMovable_var(bracket2)->GetPosition(out, bolt.get()), E_FAIL);
  EXPECT_TRUE(PositionOf(root).IsIdentity());
  EXPECT_EQ(CADIMovable_var(root)->SetPosition(T::Translation(1, 0, 0)), E_FAIL);
}

TEST(Position, SettingInAnAncestorContextStoresTheFatherRelativePosition) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  CADIProduct_var bolt = S::Node(root, "Bracket.2/Bolt.2");
  const T wanted = T::Translation(5, 6, 7) * T::Rotation(1, 30);
  ASSERT_EQ(CADIMovable_var(bolt)->SetPosition(wanted, root.get()), S_OK);
  EXPECT_TRUE(PositionOf(bolt, root).IsEqual(wanted, 1e-9));
  T inverse;
  ASSERT_EQ(kBracket2.GetInverse(inverse), S_OK);
  EXPECT_TRUE(PositionOf(bolt).IsEqual(inverse * wanted, 1e-12));
  // The position belongs to the bracket's reference: the other bracket's bolt moved too.
  EXPECT_TRUE(PositionOf(S::Node(root, "Bracket.1/Bolt.2")).IsEqual(inverse * wanted, 1e-12));
  EXPECT_EQ(CADDocumentServices::GetDocumentInSession(sample.Path(C::kBracket))->IsDirty(), 1u);
  EXPECT_EQ(CADDocumentServices::GetDocumentInSession(sample.Path(C::kAssembly))->IsDirty(), 0u);
}

TEST(Position, SingularContextCannotTakeAPosition) {
  SampleSession sample;
  CADIProduct_var root = sample.OpenAssembly();
  CADIProduct_var bracket = S::Child(root, "Bracket.1");
  ASSERT_EQ(CADIMovable_var(bracket)->SetPosition(T(std::array<double, 12>{1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0})), S_OK);
  CADIProduct_var bolt = S::Child(bracket, "Bolt.1");
  const T before = PositionOf(bolt);
  EXPECT_EQ(CADIMovable_var(bolt)->SetPosition(T::Translation(1, 1, 1), root.get()), E_FAIL);
  EXPECT_TRUE(PositionOf(bolt) == before);
}

}  // namespace
