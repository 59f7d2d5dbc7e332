#include "CADILinkableObject.h"
#include "TreeTestSupport.h"
#include "ZRBConfigData.h"
#include "ZRBNodeListUtil.h"

TEST_F(TreeTest, BehaviourOffMeansTheHostsOwnRelations) {
  CADIProduct_var a = NewProduct("A");
  CADIProduct_var s = AddProduct(a, "S");
  CADIProduct_var x = AddProduct(s, "X");
  Mark(s, "SkipNode");  // marks mean nothing while the switch is off
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetChildren(a, 0)), "S.1");
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(x) == s);
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(a).IsNull());
}

TEST_F(TreeTest, SkipNodeHandsItsChildrenUpAndOtherBehavioursHide) {
  BehaviourOn();
  //  A: K.1, S.1 (X.1, Y.1 (Z.1)), I.1, W.1, O.1, L.1
  CADIProduct_var a = NewProduct("A");
  AddProduct(a, "K");
  CADIProduct_var s = AddProduct(a, "S");
  CADIProduct_var x = AddProduct(s, "X");
  CADIProduct_var y = AddProduct(s, "Y");
  CADIProduct_var z = AddProduct(y, "Z");
  CADIProduct_var i = AddProduct(a, "I");
  CADIProduct_var w = AddProduct(a, "W");
  CADIProduct_var o = AddProduct(a, "O");
  CADIProduct_var l = AddProduct(a, "L");
  Mark(s, "SkipNode");
  Mark(i, "IgnoreNode");
  Mark(w, "IgnoreNodeAndWarn");
  Mark(o, "SiteSpecificBehaviour");
  GlobPropertyManager.SetReferenceProperty(l, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR", "0");

  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetChildren(a, 0)), "K.1,X.1,Y.1,L.1");
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetChildren(a, 1)), "K.1,S.1,I.1,W.1,O.1,L.1");  // direct view
  EXPECT_EQ(ZRBPSNTreeUtil::GetChildrenCount(a), 4);
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetAllChildren(a, 0)), "K.1,X.1,Z.1,Y.1,L.1");  // descendants first
  EXPECT_EQ(ZRBPSNTreeUtil::GetAllChildren(nullptr, 0)->Size(), 0);
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(x) == a);
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(z) == y);
  // A chain of skipped nodes ends at the top without a father.
  Mark(a, "SkipNode");
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(x).IsNull());
  EXPECT_TRUE(ZRBPSNTreeUtil::GetFatherProduct(a).IsNull());
}

TEST_F(TreeTest, PdmChildrenUnderTheWorkbenchOnlyWhenOptimising) {
  CADIProduct_var wb = NewProduct("ZRB_Workbench");
  CADIProduct_var local = AddProduct(wb, "LOCAL");
  AddProduct(local, "LOCALCHILD");
  CADIProduct_var b = AddProduct(wb, "B");
  CADIProduct_var c = AddProduct(b, "C");
  AddProduct(c, "E");
  AddProduct(b, "F");
  GlobPropertyManager.SetReferenceProperty(b, "ZRB_OBID", "obid-b");
  // Switched off: everything, in the usual order.
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetAllZRBChildren(wb, 0)), "LOCALCHILD.1,LOCAL.1,E.1,C.1,F.1,B.1");
  g_ZRBConfig.ChangeEnvVar("ZRB_ENABLE_OPTIMIZE_NONZRB", "ON", 1);
  // The PDM child first, then all its descendants.
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetAllZRBChildren(wb, 0)), "B.1,E.1,C.1,F.1");
  // Below a product from the PDM every child counts; a local product yields nothing.
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetAllZRBChildren(b, 0)), "C.1,E.1,F.1");
  EXPECT_EQ(ZRBPSNTreeUtil::GetAllZRBChildren(local, 0)->Size(), 0);
}

TEST_F(TreeTest, SearchByPartNumberAndReferenceUnderAWorkbench) {
  CADIProduct_var wb = NewProduct("ZRB_Workbench");
  CADDocument* bolt = NewPart("BOLT");
  CADIProduct_var b = AddProduct(wb, "B");
  AddPart(b, bolt);
  AddPart(b, bolt);
  AddPart(wb, bolt);
  ZRBNodeList found;
  ASSERT_EQ(ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(wb, "BOLT", &found), S_OK);
  EXPECT_EQ(Names(found), "BOLT.1,BOLT.2,BOLT.1");  // pre-order: below B first
  found.RemoveAll();
  ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(wb, "ZRB_Workbench", &found);
  EXPECT_EQ(found.Size(), 1);
  found.RemoveAll();
  ZRBPSNTreeUtil::GetTreeNodesHavingRefProduct(wb, bolt->GetRootProduct(), &found);
  EXPECT_EQ(found.Size(), 3);
  found.RemoveAll();
  ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(wb, "", &found);
  EXPECT_EQ(found.Size(), 0);
  EXPECT_EQ(ZRBPSNTreeUtil::GetTreeNodesHavingPartNumber(wb, "BOLT", nullptr), E_FAIL);
}

TEST_F(TreeTest, RegularPdmFatherIsNotTheWorkbench) {
  CADIProduct_var wb = NewProduct("ZRB_Workbench");
  CADIProduct_var b = AddProduct(wb, "B");
  CADIProduct_var c = AddProduct(b, "C");
  GlobPropertyManager.SetReferenceProperty(wb, "ZRB_OBID", "wb");
  int under = -1;
  ASSERT_EQ(ZRBPSNTreeUtil::NodeIsUnderRegularZRBNode(c, &under), S_OK);
  EXPECT_EQ(under, 0);
  GlobPropertyManager.SetReferenceProperty(b, "ZRB_OBID", "b");
  ZRBPSNTreeUtil::NodeIsUnderRegularZRBNode(c, &under);
  EXPECT_EQ(under, 1);
}

TEST_F(TreeTest, BehaviourIsDecidedOnceAndAmbiguityStaysUndecided) {
  BehaviourOn();
  ZRBConfigData data;
  data.AddBehavior("ProductNodeBehavior", "SkipNode", "SK-");
  data.AddBehavior("ProductNodeBehavior", "IgnoreNode", "AMB-");
  data.AddBehavior("ProductNodeBehavior", "SkipNode", "AMB-");
  data.AddBehavior("EmbeddedNodeBehavior", "IgnoreNode", "EMB-");
  g_ZRBConfig.SetConfigData(std::move(data));
  CADIProduct_var a = NewProduct("A");
  CADIProduct_var skip = AddProduct(a, "SK-1");
  CADIProduct_var ambiguous = AddProduct(a, "AMB-1");
  CADIProduct_var plain = AddProduct(a, "PLAIN");
  CADIProduct_var wrongType = AddProduct(a, "EMB-2");  // a product, but only an embedded behaviour matches
  CADIProduct_var embedded = AddComponent(a, "EMB-1");
  ASSERT_EQ(ZRBPSNTreeUtil::SetConfigurableBehaviorAttributesToStructure(a), 1);

  auto property = [](const CADIProduct_var& p, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(p, name).str();
  };
  EXPECT_EQ(property(skip, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR"), "1");
  EXPECT_EQ(property(skip, "ZRB_CONFIGURABLE_BEHAVIOR"), "SkipNode");
  EXPECT_EQ(property(skip, "ZRB_CONFIGURABLE_BEHAVIOR_PREFIX"), "SK-");
  EXPECT_EQ(property(embedded, "ZRB_CONFIGURABLE_BEHAVIOR"), "IgnoreNode");
  EXPECT_EQ(GlobPropertyManager.IsReferencePropertySet(ambiguous, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR"), 0);
  EXPECT_EQ(GlobPropertyManager.IsReferencePropertySet(plain, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR"), 0);
  // Decided as needing nothing: it must stay visible.
  EXPECT_EQ(property(wrongType, "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR"), "0");
  EXPECT_EQ(Names(*ZRBPSNTreeUtil::GetChildren(a, 0)), "AMB-1.1,PLAIN.1,EMB-2.1");
  int decided = 1;
  ZRBPSNTreeUtil::NodeNeedsConfigurableBehavior(ambiguous, &decided);
  EXPECT_EQ(decided, 0);  // asked again next time
}

TEST_F(TreeTest, RedundantNodesBelowListedOnesGo) {
  CADIProduct_var a = NewProduct("A");
  CADIProduct_var b1 = AddProduct(a, "B");
  CADDocument* bDoc = CADILinkableObject_var(b1)->GetDocument();
  CADIProduct_var b2 = AddPart(a, bDoc);
  CADIProduct_var c1 = AddProduct(b1, "C");
  CADIProduct_var d = AddProduct(a, "D");
  ZRBNodeList nodes;
  for (const auto& n : {c1, d, b1}) nodes.Append(CADBaseUnknown_var(n));
  // C below B.2 is the same reference as C below B.1, but not below a listed node.
  ZRBNodeList children = *ZRBPSNTreeUtil::GetDirectChildren(b2);
  ASSERT_EQ(children.Size(), 1);
  nodes.Append(children[1]);
  ASSERT_EQ(ZRBNodeListUtil::RemoveRedundancies(&nodes), S_OK);
  EXPECT_EQ(Names(nodes), "D.1,B.1,C.1");
  EXPECT_FALSE(CADIProduct_var(nodes[3]) == c1);
  EXPECT_EQ(ZRBNodeListUtil::RemoveRedundancies(nullptr), E_FAIL);
}
