// Black boxes and multiple quantities on the sample assembly read from the reference PDM: a new supplier product
// (with a part below it) attached under the assembly, the flawed answers a PDM may give, and the matrix index that
// new siblings of a chosen instance take.
#include <string>
#include <vector>

#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "PdmEndToEndFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBAttachBlackBoxCmd.h"
#include "ZRBBlackBoxLoader.h"
#include "ZRBMultiQuantityCmd.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"

namespace {

class BlackBoxEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad());
    window_ = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
  }
  void TearDown() override {
    root_ = supplier_ = part_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }

  // A supplier product with one part, saved beside the vault and placed under the assembly.
  void AddSupplier() {
    CADDocument *product = nullptr, *part = nullptr;
    ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    ASSERT_EQ(CADDocumentServices::New("CADProduct", product), S_OK);
    CADIProduct_var partRoot, productRoot, placed;
    ASSERT_EQ(ZRBPSNTreeUtil::GetRootProductFromDocument(part, &partRoot), S_OK);
    ASSERT_EQ(ZRBPSNTreeUtil::GetRootProductFromDocument(product, &productRoot), S_OK);
    partRoot->SetPartNumber("SupplierPart");
    productRoot->SetPartNumber("Supplier");
    ASSERT_EQ(productRoot->AddExternalComponent(part, placed), S_OK);
    ASSERT_EQ(CADDocumentServices::SaveAs(part, CADUnicodeString(Root() + "/SupplierPart.CADPart")), S_OK);
    ASSERT_EQ(CADDocumentServices::SaveAs(product, CADUnicodeString(Root() + "/Supplier.CADProduct")), S_OK);
    ASSERT_EQ(root_->AddExternalComponent(product, supplier_), S_OK);
    part_ = SampleSession::Node(supplier_, SampleSession::ChildNames(supplier_));
    ASSERT_TRUE(part_);
  }
  void Select(const std::vector<CADIProduct_var>& nodes) {
    CADCSO* cso = window_->GetEditor()->GetCSO();
    cso->Empty();
    for (const CADIProduct_var& node : nodes) {
      CADPathElement path{CADBaseUnknown_var(root_)};
      if (node.get() != root_.get()) path.AddChildElement(CADBaseUnknown_var(node));
      cso->AddElement(path);
    }
  }
  // Runs a command on the current selection; its warnings and informations.
  template <class Command>
  std::string Run() {
    auto* command = Start(new Command());
    std::string lines;
    for (const auto* list : {&command->GetWarnings(), &command->GetInformations()})
      for (const CADUnicodeString& line : *list) lines += line.str() + "\n";
    Loop().RunPending();
    return lines;
  }
  std::string Ref(const CADIProduct_var& node, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(node, name).str();
  }
  std::string Index(const CADIProduct_var& node) {
    return GlobPropertyManager.GetInstanceProperty(root_, node, "ZRB_MATRIX_INDEX").str();
  }

  CADFrmWindow* window_ = nullptr;
  CADIProduct_var root_, supplier_, part_;
};

TEST_F(BlackBoxEndToEndTest, AttachedNodesTakeTheAnsweredIdentityAndASecondAttachAddsNothing) {
  AddSupplier();
  Select({root_});
  const std::string lines = Run<ZRBAttachBlackBoxCmd>();
  EXPECT_NE(lines.find("holds 2 file(s)"), std::string::npos) << lines;
  EXPECT_EQ(Ref(supplier_, "ZRB_OBID").rfind("BBF", 0), 0u);
  EXPECT_EQ(Ref(part_, "ZRB_OBID").rfind("BBF", 0), 0u);
  EXPECT_EQ(GlobPropertyManager.IsBlackBoxRoot(root_, supplier_), 1);
  EXPECT_EQ(GlobPropertyManager.IsBlackBoxItem(supplier_, part_, 1), 1);
  EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(root_, supplier_, "ZRB_INSTANCE_IN_ZRB"), "1");
  EXPECT_TRUE(Exists(XmapFile("SupplierPart.CADPart")));

  // Attached nodes carry PDM identities now, yet belong to this box: attaching again is allowed and adds nothing.
  Select({root_});
  Run<ZRBAttachBlackBoxCmd>();
  EXPECT_NE(Journal().back().outcome.find("0 added, 0 removed, 2 answered"), std::string::npos)
      << Journal().back().outcome;
}

TEST_F(BlackBoxEndToEndTest, ABlackBoxReadAfterwardsIsPlacedOnceWithTheAnsweredIdentity) {
  AddSupplier();
  Select({root_});
  Run<ZRBAttachBlackBoxCmd>();
  // The session forgets the box: it comes back from the PDM's answer alone, out of the exchange map.
  const int children = root_->GetChildrenCount();
  ASSERT_EQ(root_->RemoveProduct(supplier_), S_OK);
  CADDocumentServices::Remove(
      CADDocumentServices::GetDocumentInSession(CADUnicodeString(Root() + "/Supplier.CADProduct")));
  GlobPropertyManager.RemoveAllBlackBoxRoots(root_);
  GlobPropertyManager.RemoveAllBlackBoxItems(root_);
  ZRBObjectManager answer;
  ASSERT_TRUE(answer.Read(CADUnicodeString(XmapFile("AttachBlackBox.zrb"))));
  const CADString boxKey = answer.GetObject("ROOT")->GetSlotValue("BLACKBOX");
  const struct {
    const char *what, *unanswered, *line;  // a file the answer's file-object names lose; a warning expected
    int ok;
  } cases[] = {{"loaded", "", "", 1},
               {"read again: placed once", "", "", 1},
               {"item not answered", "SupplierPart.CADPart", "was not found in the PDM's answer", 0},
               {"root not answered", "Supplier.CADProduct", "could not be loaded", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ZRBObjectManager spoilt(answer);
    ZRBObject* box = spoilt.GetObject(boxKey);
    CADListValCADString names;
    for (const CADString& name : box->GetSlotValueList("ATTACHED_FILEOBJECT_FILENAMES"))
      names.Append(name == CADString(c.unanswered) ? CADString("other.CADPart") : name);
    box->SetSlotValueList("ATTACHED_FILEOBJECT_FILENAMES", names);
    ProbeCommand command;
    EXPECT_EQ(ZRBBlackBoxLoader::Load(command, root_, spoilt, box), c.ok);
    std::string lines;
    for (const CADUnicodeString& line : command.GetWarnings()) lines += line.str();
    EXPECT_NE(lines.find(c.line), std::string::npos) << lines;
    ASSERT_EQ(root_->GetChildrenCount(), children);
    const CADIProduct_var placed(root_->GetChildren()[children]);
    EXPECT_EQ(GlobPropertyManager.GetProductFullPath(placed).str(), XmapFile("Supplier.CADProduct"));
    EXPECT_EQ(GlobPropertyManager.IsBlackBoxRoot(root_, placed), 1);
    EXPECT_EQ(Ref(placed, "ZRB_OBID").rfind("BBF", 0), 0u);
    EXPECT_EQ(GlobPropertyManager.IsBlackBoxItem(root_, CADIProduct_var(placed->GetChildren()[1]), 0), 1);
  }
}

TEST_F(BlackBoxEndToEndTest, FlawedAnswersWriteNoIdentityTheyDoNotCarry) {
  const std::string noRoot = Root() + "/noroot.zrb";
  WriteFile(noRoot, "@COMMAND\n{COMMAND} REQUEST_ATTACH_BLACKBOX\n\n");
  const struct {
    std::string pdm;   // the pdmsim command that spoils the answer
    const char* line;  // a line the messages must hold
    bool itemIdentity;
  } cases[] = {
      {"settings blackbox.flaw error", "refused", false},
      {"settings blackbox.flaw unequal-lists", "different lengths", false},
      {"settings blackbox.flaw missing-root-file", "did not attach", true},
      {"fault set x3AttachBlackBoxCmd --answer-file " + noRoot, "no answer", false},
  };
  AddSupplier();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pdm);
    PdmLine(c.pdm);
    Select({root_});
    const std::string lines = Run<ZRBAttachBlackBoxCmd>();
    EXPECT_NE(lines.find(c.line), std::string::npos) << lines;
    EXPECT_TRUE(Ref(supplier_, "ZRB_OBID").empty());
    EXPECT_EQ(!Ref(part_, "ZRB_OBID").empty(), c.itemIdentity);
    EXPECT_EQ(GlobPropertyManager.IsBlackBoxRoot(root_, supplier_), 0);
    Pdm("settings", "blackbox.flaw", "");
    Pdm("fault", "clear");
    GlobPropertyManager.DeleteReferenceProperty(part_, "ZRB_OBID");
  }
}

TEST_F(BlackBoxEndToEndTest, RefusalsLeaveEverythingAsItWas) {
  AddSupplier();
  // Two nodes, a node not from the PDM.
  for (const auto& selection : {std::vector{root_, SampleSession::Child(root_, "Bracket.1")}, std::vector{supplier_}}) {
    ExpectBox("ZRBAttachBlackBoxCmd.SelectExactlyOneZRBProduct", 1);
    Select(selection);
    Run<ZRBAttachBlackBoxCmd>();
  }
  // A modified document of the box must reach the PDM by an update first.
  CADDocumentServices::GetDocumentInSession(CADUnicodeString(Root() + "/SupplierPart.CADPart"))->SetDirty(1);
  ExpectBox("ZRBAttachBlackBoxCmd.PleaseUpdatePdm", 1);
  Select({root_});
  Run<ZRBAttachBlackBoxCmd>();
  EXPECT_EQ(LastCall("x3AttachBlackBoxCmd"), 0);
  EXPECT_TRUE(Ref(supplier_, "ZRB_OBID").empty());
}

TEST_F(BlackBoxEndToEndTest, NewSiblingsTakeTheChosenInstancesMatrixIndex) {
  const CADIProduct_var first = SampleSession::Child(root_, "Bracket.1");
  const CADIProduct_var second = SampleSession::Child(root_, "Bracket.2");
  CADIProduct_var added;
  ASSERT_EQ(root_->AddExternalComponent(
                CADDocumentServices::GetDocumentInSession(GlobPropertyManager.GetProductFullPath(first)), added),
            S_OK);
  const std::size_t calls = JournalActions().size();
  struct Case {
    const char* what;
    std::vector<CADIProduct_var> selection;
    const char* chosenIndex;  // before the run
    const char *expectAdded, *expectSecond, *expectChosen;
  };
  const Case cases[] = {
      {"the new sibling takes the index", {first}, "7", "7", "", "7"},
      {"a usage without index becomes the first quantity", {first}, "", "1", "", "1"},
      {"the new instance itself is no valid choice", {added}, "", "", "", ""},
      {"the root has no father", {root_}, "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const CADIProduct_var& node : {first, second, added})
      GlobPropertyManager.DeleteInstanceProperty(root_, node, "ZRB_MATRIX_INDEX");
    if (*c.chosenIndex) GlobPropertyManager.SetInstanceProperty(root_, first, "ZRB_MATRIX_INDEX", c.chosenIndex);
    Select(c.selection);
    const std::string lines = Run<ZRBMultiQuantityCmd>();
    EXPECT_EQ(Index(added), c.expectAdded);
    EXPECT_EQ(Index(second), c.expectSecond) << "a usage the PDM holds keeps its own";
    EXPECT_EQ(Index(first), c.expectChosen);
    EXPECT_EQ(lines.find(SampleSession::InstanceName(added)) != std::string::npos, *c.expectAdded != 0) << lines;
  }
  ExpectBox("ZRBMultiQuantityCmd.SelectAtLeastOne", 1);
  Select({});
  Run<ZRBMultiQuantityCmd>();
  EXPECT_EQ(JournalActions().size(), calls) << "the PDM is not asked";
}

}  // namespace
