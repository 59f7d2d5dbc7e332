// The product state of nodes of the sample assembly after a simulated load (every node known to the PDM, its
// instance in the PDM, its children recorded), one change per case; the printed form; the modified-state rules.
#include <gtest/gtest.h>

#include <functional>

#include "CADDocumentServices.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBCommandStates.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"

namespace {

using Node = CADIProduct_var;

class ProductStateTest : public CommandFixture {
 public:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    // Every sample file lies in the exchange map, as after a read; the data model is known.
    SetVariable("ZRBXMAP", session_.Directory().c_str());
    ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
    root_ = session_.OpenAssembly();
    ASSERT_TRUE(root_);
    MarkLoaded(root_);
    ZRBCommandStates::SetOrigChilds(root_.get(), "", 0);
    for (CADDocument* document : {Doc("Assembly"), Doc("Bracket"), Doc("Plate"), Doc("Bolt")}) document->SetDirty(0);
  }

  static void Set(const char* name, const char* value) { SetVariable(name, value); }
  static void MarkLoaded(const Node& node) {
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_OBID", "ID-" + node->GetPartNumber().str());
    for (const CADBaseUnknown_var& item : node->GetChildren()) {
      Node child(item);
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_INSTANCE_IN_ZRB", "1");
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_RELATION", "RL-" + SampleSession::InstanceName(child));
      double position[12];
      CADMathTransformation transformation;
      CADIMovable_var(child)->GetPosition(transformation, node.get());
      transformation.GetCoef(position);
      CADUnicodeString text;
      ZRBPosMatrixUtil::ConvertToString(position, text);
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_ORIG_MATRIX", text);
      MarkLoaded(child);
    }
  }

  CADDocument* Doc(const std::string& name) {
    return CADDocumentServices::GetDocumentInSession(
        session_.Path(name + (name == "Plate" || name == "Bolt" ? ".CADPart" : ".CADProduct")));
  }
  Node At(std::string_view path) { return path.empty() ? root_ : SampleSession::Node(root_, path); }
  Node AddNew(const Node& parent, const char* partNumber) {
    Node child;
    EXPECT_EQ(parent->AddNewProduct(partNumber, child), S_OK);
    return child;
  }
  Node AddDocument(const Node& parent, const std::string& name) {
    Node child;
    EXPECT_EQ(parent->AddExternalComponent(Doc(name), child), S_OK);
    return child;
  }
  int State(const Node& node, int start = 0) {
    int state = start;
    states_.GetProductState(node, state);
    return state;
  }

  SampleSession session_;
  Node root_;
  ZRBCommandStates states_;
};

TEST_F(ProductStateTest, EdgeCases) {
  struct Case {
    const char* name;
    std::function<Node(ProductStateTest&)> change;  // the node to compute
    int expected;
    int start = 0;  // the caller's value
  };
  const auto tables = [](ProductStateTest& t) {
    ZRBInfoUtil::SetUseDesigTables(1);
    Node plate = t.At("Bracket.1/Plate.1");
    GlobPropertyManager.SetReferenceProperty(plate, "ZRB_DESIGNTABLES", "{/pdm/new/PlateSizes.xls} {Old.xls}");
    return plate;
  };
  const Case cases[] = {
      {"a fresh load", [](ProductStateTest& t) { return t.At("Bracket.1"); }, 1},
      {"new product with children",
       [](ProductStateTest& t) {
         Node asm1 = t.AddNew(t.root_, "NewAsm");
         t.AddNew(asm1, "NewPart");
         return asm1;
       },
       2 | 16},
      {"new standard part",
       [](ProductStateTest& t) {
         Node part = t.AddNew(t.root_, "Std");
         GlobPropertyManager.SetReferenceProperty(part, "ZRB_IS_STD_PART", "1");
         return part;
       },
       2 | 64},
      {"a local load-time child is no change even when modified",
       [](ProductStateTest& t) {
         Node plate = t.At("Bracket.1/Plate.1");
         GlobPropertyManager.DeleteInstanceProperty(t.At("Bracket.1"), plate, "ZRB_INSTANCE_IN_ZRB");
         GlobPropertyManager.DeleteReferenceProperty(plate, "ZRB_OBID");
         t.Doc("Plate")->SetDirty(1);
         return plate;
       },
       0},
      {"a known part under a new parent",
       [](ProductStateTest& t) { return t.AddDocument(t.AddNew(t.root_, "NewAsm"), "Plate"); }, 1 | 2 | 4},
      {"the same, modified",
       [](ProductStateTest& t) {
         t.Doc("Plate")->SetDirty(1);
         return t.AddDocument(t.AddNew(t.root_, "NewAsm"), "Plate");
       },
       1 | 2 | 4 | 32},
      {"a known part under the workbench has no bit 4",
       [](ProductStateTest& t) {
         CADDocument* workbench = nullptr;
         CADDocumentServices::New("CADProduct", workbench);
         workbench->GetRootProduct()->SetPartNumber("ZRB_Workbench");
         return t.AddDocument(workbench->GetRootProduct(), "Plate");
       },
       1 | 2},
      {"a modified component is not dirty; its moved child gives 128",
       [](ProductStateTest& t) {
         CADIMovable_var(t.At("Fixings.1/Bolt.1"))
             ->SetPosition(CADMathTransformation::Translation(1, 2, 3), t.At("Fixings.1").get());
         t.Doc("Assembly")->SetDirty(1);
         return t.At("Fixings.1");
       },
       1 | 128},
      {"a removed child",
       [](ProductStateTest& t) {
         t.At("Bracket.1")->RemoveProduct(t.At("Bracket.1/Bolt.1"));
         return t.At("Bracket.1");
       },
       1 | 8 | 32},
      {"a removed child whose instance was never in the PDM",
       [](ProductStateTest& t) {
         Node bracket = t.At("Bracket.1");
         GlobPropertyManager.DeleteInstanceProperty(bracket, t.At("Bracket.1/Bolt.2"), "ZRB_INSTANCE_IN_ZRB");
         ZRBCommandStates::SetOrigChildsToProp(bracket.get());
         bracket->RemoveProduct(t.At("Bracket.1/Bolt.2"));
         return bracket;
       },
       1 | 32},
      {"a catalog part not yet in the PDM is new as a whole",
       [](ProductStateTest& t) {
         t.Set("ZRB_ENABLE_CATALOG_SUPPORT", "ON");
         Node part = t.AddNew(t.root_, "Cat");
         t.AddNew(part, "CatChild");
         GlobPropertyManager.SetReferenceProperty(part, "ZRB_Catalog_Document", "Catalog");
         return part;
       },
       2},
      {"a catalog part the PDM knows is a known node",
       [](ProductStateTest& t) {
         t.Set("ZRB_ENABLE_CATALOG_SUPPORT", "ON");
         GlobPropertyManager.SetReferenceProperty(t.At("Bracket.1"), "ZRB_Catalog_Document", "Catalog");
         return t.At("Bracket.1");
       },
       1},
      {"a design table added",
       [](ProductStateTest& t) {
         ZRBInfoUtil::SetUseDesigTables(1);
         return t.At("Bracket.1/Plate.1");
       },
       1 | 16},
      {"design tables known by full path are not added; a removed one counts only beside another bit", tables, 1},
      {"the same, modified",
       [&](ProductStateTest& t) {
         t.Doc("Plate")->SetDirty(1);
         return tables(t);
       },
       1 | 8 | 32},
      {"an unknown node without part number keeps the caller's value",
       [](ProductStateTest& t) {
         CADDocumentServices::Remove(t.Doc("Plate"));  // its instances keep an unloaded reference
         return t.At("Bracket.1/Plate.1");
       },
       77, 77},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    EXPECT_EQ(State(c.change(*this), c.start), c.expected);
  }
}

TEST_F(ProductStateTest, TheRepresentationRule) {
  SetVariable("ZRB_REP_FORMATS", "{stp}");
  SetVariable("ZRB_ENABLE_CHECKREPRULE", "ON");
  CADDocumentServices::SetRepresentationFormats({"stp"});
  session_.WriteFile("Rep.stp", "foreign bytes");
  CADDocument* rep = nullptr;
  ASSERT_EQ(CADDocumentServices::OpenDocument(session_.Path("Rep.stp"), rep), S_OK);
  Node node;
  ASSERT_EQ(root_->AddExternalComponent(rep, node), S_OK);
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_OBID", "ID-Rep");
  GlobPropertyManager.SetInstanceProperty(root_, node, "ZRB_INSTANCE_IN_ZRB", "1");
  EXPECT_EQ(State(node), 1 | 32 | 256) << "no representation path";
  GlobPropertyManager.SetReferenceProperty(node, "ZRB_REPRESENTATIONPATH", session_.Path("Rep.stp"));
  EXPECT_EQ(State(node), 1);
}

TEST_F(ProductStateTest, ADocumentNotUpToDateAsksWhetherToGoOn) {
  int stop = -1;
  Doc("Bolt")->SetUpToDate(0);
  EXPECT_EQ(ZRBCommandStates::CheckStructureIsUpToDate(root_, &stop), 1);
  EXPECT_EQ(stop, 0) << "not asked while the check is off";
  SetVariable("ZRB_ENABLE_CHECKISUPTODATE", "ON");
  for (int answer : {4, 3}) {
    ExpectBox("ZRBUpdateCmd.NotUpToDate", answer);
    EXPECT_EQ(ZRBCommandStates::CheckStructureIsUpToDate(root_, &stop), 1);
    EXPECT_EQ(stop, answer == 4 ? 1 : 0);
  }
}

TEST(ProductStateText, Printed) {
  struct Case {
    int state;
    const char* before;
    const char* text;
  } cases[] = {{0, "", "PS_NO_CHANGE"},
               {35, "", "PS_ZRB|PS_NEW|PS_DIRTY"},
               {5, "X", "X|PS_ZRB|PS_CADPART_DOC_NEEDED"},
               {256, "", ""},
               {288, "", "PS_DIRTY"},
               {255, "",
                "PS_ZRB|PS_NEW|PS_CADPART_DOC_NEEDED|PS_CHILD_REMOVED|PS_CHILD_ADDED|PS_DIRTY|PS_STD_PART|"
                "PS_CHILD_MATRIX_CHANGED"}};
  for (const Case& c : cases) {
    CADString text(c.before);
    EXPECT_EQ(ZRBCommandStates::StringifyProductState(c.state, text), 1);
    EXPECT_EQ(text.str(), c.text) << c.state;
  }
}

TEST_F(ProductStateTest, TheModifiedStateRules) {
  struct Case {
    const char* name;
    std::function<Node(ProductStateTest&)> change;
    int ignoreMoved, doNotMark;
    int dirty;
    int markedAfter;  // the document of the node is modified afterwards
  };
  const auto elsewhere = [](ProductStateTest& t) {
    t.Set("ZRBXMAP", "/elsewhere");
    return t.At("Bracket.1");
  };
  const auto moved = [](ProductStateTest& t) {
    CADIMovable_var(t.At("Bracket.1/Bolt.1"))
        ->SetPosition(CADMathTransformation::Translation(1, 2, 3), t.At("Bracket.1").get());
    t.Doc("Bracket")->SetDirty(0);
    return t.At("Bracket.1");
  };
  const Case cases[] = {
      {"1: a product saved outside the exchange map", elsewhere, 0, 0, 1, 1},
      {"1: the same, not marked", elsewhere, 0, 1, 1, 0},
      {"1: not for a standard part",
       [&](ProductStateTest& t) {
         GlobPropertyManager.SetReferenceProperty(t.At("Bracket.1"), "ZRB_IS_STD_PART", "1");
         return elsewhere(t);
       },
       0, 0, 0, 0},
      {"3: the file changed outside the session",
       [](ProductStateTest& t) {
         t.Set("ZRB_ENABLE_CHECKMODTIMESTAMP", "ON");
         GlobPropertyManager.SetFileProperty(t.session_.Path("Plate.CADPart"), "ZRB_LAST_KNOWN_MOD_TIME", "12");
         return t.At("Bracket.1/Plate.1");
       },
       0, 0, 1, 1},
      {"3: unchanged: the document decides",
       [](ProductStateTest& t) {
         t.Set("ZRB_ENABLE_CHECKMODTIMESTAMP", "ON");
         CADUnicodeString now;
         ZRBFileUtil::GetLastModificationFromFile(t.session_.Path("Plate.CADPart"), now);
         GlobPropertyManager.SetFileProperty(t.session_.Path("Plate.CADPart"), "ZRB_LAST_KNOWN_MOD_TIME", now);
         return t.At("Bracket.1/Plate.1");
       },
       0, 0, 0, 0},
      {"4: the document is modified",
       [](ProductStateTest& t) {
         t.Doc("Plate")->SetDirty(1);
         return t.At("Bracket.1/Plate.1");
       },
       0, 0, 1, 1},
      {"4: a direct child moved", moved, 0, 0, 1, 0},
      {"4: the same, moves ignored", moved, 1, 0, 0, 0},
      {"5: no document in the session",
       [](ProductStateTest& t) {
         CADDocumentServices::Remove(t.Doc("Plate"));
         return t.At("Bracket.1/Plate.1");
       },
       0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Node node = c.change(*this);
    unsigned char dirty = 7;
    states_.GetDirtyFlagForProduct(dirty, node.get(), c.ignoreMoved, c.doNotMark);
    EXPECT_EQ(dirty, c.dirty);
    CADDocument* document = nullptr;
    if (SUCCEEDED(ZRBFileUtil::GetRefDocFromCADIProduct(node, &document)) && document && document->IsInSession()) {
      EXPECT_EQ(document->IsDirty() ? 1 : 0, c.markedAfter);
    }
  }
}

}  // namespace

TEST_F(ProductStateTest, EmbeddedProductsAndTheirRealParents) {
  const Node fixings = At("Fixings.1");
  EXPECT_FALSE(ZRBCommandStates::FindComponentInRealParent(root_, "Fixings"));
  GlobPropertyManager.SetReferenceProperty(fixings, "ZRB_ISCOMPONENT", "1");
  EXPECT_EQ(ZRBCommandStates::FindComponentInRealParent(root_, "Fixings"), fixings);
  EXPECT_FALSE(ZRBCommandStates::FindEmbeddedProductInRealParent(root_, "Fixings"));
  GlobPropertyManager.SetReferenceProperty(fixings, "ZRB_USE_EMBEDDED_PRODUCT", "1");
  EXPECT_EQ(ZRBCommandStates::FindEmbeddedProductInRealParent(fixings), fixings);
  // Not through a real product: the bracket is one of its own.
  EXPECT_FALSE(ZRBCommandStates::FindEmbeddedProductInRealParent(root_, "Plate"));

  // The bolt stands in the bracket and in the assembly's component; the plate only in the bracket.
  CADListValCADUnicodeString messages;
  int found = -1;
  for (const char* path : {"Bracket.1/Plate.1", "Bracket.1/Bolt.1"})
    GlobPropertyManager.SetReferenceProperty(At(path), "ZRB_MULTI_EMBEDDED", "1");
  EXPECT_EQ(ZRBCommandStates::ProcessMultiEmbeddedProduct(At("Bracket.1/Plate.1"), messages, found), 1);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(ZRBCommandStates::ProcessMultiEmbeddedProduct(At("Bracket.1/Bolt.1"), messages, found), 1);
  EXPECT_EQ(found, 1);
  ASSERT_EQ(messages.Size(), 1);
  EXPECT_TRUE(messages[1].EndsWith("Bolt")) << messages[1].str();
  // A real parent recorded at load that is the one the session shows counts once.
  GlobPropertyManager.SetReferenceProperty(At("Bracket.1/Plate.1"), "ZRB_REAL_PARENT_PATH",
                                           session_.Path("Bracket.CADProduct").c_str());
  EXPECT_EQ(ZRBCommandStates::ProcessMultiEmbeddedProduct(At("Bracket.1/Plate.1"), messages, found), 1);
  EXPECT_EQ(found, 0);
}

// A child document whose identity is not the one the PDM named is replaced by the right one, as the designer says.
TEST_F(ProductStateTest, AChildWithTheWrongIdentityIsReplaced) {
  struct Case {
    const char* name;
    const char* setting;  // switched "ON"
    int answer;           // the box's answer; 0: no box
    bool goodPath;
    int result, replaced;
  } cases[] = {{"switched off", "ZRB_DISABLE_REPLACE_WRONG_PRD", 0, true, 1, 0},
               {"declined", nullptr, 4, true, 1, 0},
               {"accepted", nullptr, 3, true, 1, 1},
               {"automatic", "ZRB_REPLACE_WRONG_PRD_AUTO", 0, true, 1, 1},
               {"a path that cannot be opened keeps the child", "ZRB_REPLACE_WRONG_PRD_AUTO", 0, false, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.setting) Set(c.setting, "ON");
    CADDocument* right = nullptr;
    ASSERT_EQ(CADDocumentServices::New("CADPart", right), S_OK);
    right->GetRootProduct()->SetPartNumber("BoltRight");
    ASSERT_EQ(CADDocumentServices::SaveAs(right, session_.Path("BoltRight.CADPart")), S_OK);
    right->SetDirty(0);
    const Node bracket = At("Bracket.1");
    GlobPropertyManager.SetInstanceProperty(bracket, At("Bracket.1/Bolt.1"), "ZRB_KEEP_AS_NEW", "1");
    if (c.answer) ExpectBox("ZRBReadCmd.ReplaceProductWithWrongUUID", c.answer);
    ProbeCommand command;
    CADIProduct* child = At("Bracket.1/Bolt.1").get();
    int replaced = 0;
    const CADUnicodeString path = c.goodPath ? session_.Path("BoltRight.CADPart") : session_.Path("Missing.CADPart");
    EXPECT_EQ(command.ReplaceChildWithWrongData(bracket.get(), child, path, &replaced), c.result);
    EXPECT_EQ(replaced, c.replaced);
    EXPECT_EQ(child->GetPartNumber().str(), c.replaced ? "BoltRight" : "Bolt");
    EXPECT_EQ(SampleSession::InstanceName(child), "Bolt.1");
    EXPECT_EQ(At("Bracket.1/Bolt.1").get(), child) << "the child pointer follows the structure";
    EXPECT_EQ(right->IsDirty() ? 1 : 0, c.replaced);
    EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(bracket, child, "ZRB_KEEP_AS_NEW").IsEmpty(), c.replaced == 1);
    EXPECT_EQ(command.GetInformations().Size(), c.replaced);
  }
  ProbeCommand command;
  CADIProduct* child = nullptr;
  int replaced = 0;
  EXPECT_EQ(command.ReplaceChildWithWrongData(root_.get(), child, "x", &replaced), 0);
  EXPECT_EQ(command.ReplaceChildWithWrongData(root_.get(), child, "x", nullptr), 0);
}

// The PDM now keeps the assembly's embedded component as a document of its own (same PDM identity): that
// document replaces the embedded product, in the structure or from the list of top-level products.
TEST_F(ProductStateTest, AnEmbeddedProductTheSessionAlsoHasSeparatelyIsReplaced) {
  for (const bool fromTopLevel : {true, false}) {
    for (const int answer : {4, 3}) {
      SCOPED_TRACE(std::string(fromTopLevel ? "top level" : "in the structure") + " answer " + std::to_string(answer));
      TearDown();
      SetUp();
      GlobPropertyManager.SetReferenceProperty(At("Fixings.1"), "ZRB_USE_EMBEDDED_PRODUCT", "1");
      CADListValCADBaseUnknown_var embedded;
      ASSERT_EQ(ZRBCommandStates::SearchEmbChildren(root_, "", embedded), 1);
      ASSERT_EQ(embedded.Size(), 1);
      CADDocument* separate = nullptr;
      ASSERT_EQ(CADDocumentServices::New("CADProduct", separate), S_OK);
      const Node product = separate->GetRootProduct();
      product->SetPartNumber("FixingsDoc");
      GlobPropertyManager.SetReferenceProperty(product, "ZRB_OBID", "ID-Fixings");
      CADListValCADBaseUnknown_var topLevel;
      topLevel.Append(product);
      Node inStructure;
      if (!fromTopLevel) {
        ASSERT_EQ(At("Bracket.1")->AddExternalComponent(separate, inStructure), S_OK);
      }
      Doc("Assembly")->SetDirty(0);
      ExpectBox("ZRBReadCmd.ReplaceProductEmbNonEmb", answer);
      ProbeCommand command;
      int replaced = -1;
      EXPECT_EQ(fromTopLevel ? command.RemoveEmbChildrenFromTopLevel(root_, topLevel, replaced)
                             : command.RemoveEmbChildren(root_, replaced),
                1);
      const int yes = answer == 3 ? 1 : 0;
      EXPECT_EQ(replaced, yes);
      EXPECT_EQ(At("Fixings.1")->GetPartNumber().str(), yes ? "FixingsDoc" : "Fixings");
      EXPECT_EQ(Doc("Assembly")->IsDirty() ? 1 : 0, yes);
      EXPECT_EQ(command.GetInformations().Size(), yes);
      EXPECT_EQ(topLevel.Size(), fromTopLevel ? 1 - yes : 1);
      ZRBCommandStates::SearchEmbChildren(root_, "ID-Fixings", embedded);
      EXPECT_EQ(embedded.Size(), 1 - yes);
    }
  }
}
