// Putting instances back where they belong. Restoring the positions the PDM last knew: instances below products
// loaded from the PDM go back, the children of standard parts and of products the PDM does not know stay, an
// unreadable stored position fails the restore without keeping the other instances from theirs. Resetting new
// instances away from the identity: the lines left at "yes" go to the identity, the others stay and are reported.
#include <gtest/gtest.h>

#include <string>

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBResetInvalidPosCmd.h"
#include "ZRBRestorePositionCmd.h"

namespace {

const char* const kIdentity = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
const char* const kAway = "0 -1 0 0 1 0 0 0 0 0 1 0 7.5 -2 0.25 1";  // turned about z and moved

// The sample assembly in a window, its root from the PDM.
class RestorePositionTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocument* document = sample_.Open("Assembly.CADProduct");
    ASSERT_NE(document, nullptr);
    root_ = document->GetRootProduct();
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    probe_ = new ProbeCommand();
    GlobPropertyManager.SetReferenceProperty(root_, "ZRB_OBID", "A-1");
  }
  void TearDown() override {
    probe_->Release();
    root_ = nullptr;
    CommandFixture::TearDown();
  }
  CADIProduct_var Node(const std::string& path) { return path.empty() ? root_ : SampleSession::Node(root_, path); }
  CADIProduct_var Father(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? root_ : Node(path.substr(0, slash));
  }
  std::string Position(const std::string& path) {
    double c[12];
    EXPECT_EQ(probe_->GetProductPosition(Node(path), Father(path), c), 1);
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(c, text);
    return text.str();
  }
  void Store(const char* path, const char* original) {
    GlobPropertyManager.SetInstanceProperty(Father(path), Node(path), "ZRB_ORIG_MATRIX", original);
  }
  int Restore() {
    auto* command = new ZRBRestorePositionCmd();
    const int result = command->RestorePosition();
    command->Release();
    return result;
  }

  SampleSession sample_;
  CADIProduct_var root_;
  ProbeCommand* probe_ = nullptr;  // for positions only; never activated
};

TEST_F(RestorePositionTest, InstancesBelowPdmProductsGoBackAndOthersStay) {
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_OBID", "B-1");  // "Fixings" is not from the PDM
  struct Case {
    const char* path;
    const char* stored;  // "ZRB_ORIG_MATRIX"; null: none
    bool restored;
  };
  const Case cases[] = {
      {"Bracket.1/Bolt.2", kAway, true},      // below a product from the PDM
      {"Bracket.2", kAway, true},             // directly below the root
      {"Bracket.1/Plate.1", nullptr, false},  // nothing stored: left alone
      {"Fixings.1/Bolt.1", kAway, false},     // its father is not from the PDM
  };
  std::string before[4];
  for (int i = 0; i < 4; ++i) {
    before[i] = Position(cases[i].path);
    if (cases[i].stored) Store(cases[i].path, cases[i].stored);
  }
  EXPECT_EQ(Restore(), 1);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Position(cases[i].path), cases[i].restored ? kAway : before[i]) << cases[i].path;
}

TEST_F(RestorePositionTest, AStandardPartKeepsItsChildrenAndAnUnreadablePositionFailsOnlyItsInstance) {
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_OBID", "B-1");
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_IS_STD_PART", "1");
  const std::string bolt = Position("Bracket.1/Bolt.1");
  Store("Bracket.1/Bolt.1", kAway);
  Store("Bracket.1", "1 0 0 0 0 1 0 0 0 0 1 0 12,5 0 0 1");  // written with a comma: unreadable
  const std::string bracket = Position("Bracket.1");
  Store("Bracket.2", kAway);
  EXPECT_EQ(Restore(), 0);
  EXPECT_EQ(Position("Bracket.1/Bolt.1"), bolt);
  EXPECT_EQ(Position("Bracket.1"), bracket);
  EXPECT_EQ(Position("Bracket.2"), kAway);
}

TEST_F(RestorePositionTest, WithoutAnEditorTheRestoreFailsWithAMessage) {
  CADFrmLayout::GetCurrentLayout().Reset();
  ExpectBox("ZRBRestorePositionCmd.RestorePositionFailed", 1);
  EXPECT_EQ(Restore(), 0);
}

class ResetInvalidPosTest : public RestorePositionTest {
 protected:
  void SetUp() override {
    RestorePositionTest::SetUp();
    MarkKnown(root_);  // every instance of the sample is known to the PDM
  }
  void MarkKnown(const CADIProduct_var& parent) {
    for (const CADBaseUnknown_var& item : parent->GetChildren()) {
      CADIProduct_var child(item);
      GlobPropertyManager.SetInstanceProperty(parent, child, "ZRB_RELATION", "R-" + SampleSession::InstanceName(child));
      MarkKnown(child);
    }
  }
  // A new instance of the bolt below `parent`, moved away from the identity; its path.
  std::string AddNewBolt(const std::string& parent) {
    CADIProduct_var child;
    EXPECT_EQ(Node(parent)->AddExternalComponent(sample_.Open("Bolt.CADPart"), child), S_OK);
    double away[12];
    ZRBPosMatrixUtil::ConvertToMatrix(kAway, away);
    probe_->MoveProduct(child, Node(parent), away);
    return (parent.empty() ? "" : parent + "/") + SampleSession::InstanceName(child);
  }
  // Starts the command; true when its dialog came up.
  bool Start() {
    (new ZRBResetInvalidPosCmd())->Activate(nullptr, nullptr);
    Loop().RunPending();
    return Dialogs().Driver().IsOpen("ZRBResetPosDialog");
  }
};

TEST_F(ResetInvalidPosTest, OnlyTheLinesLeftAtYesAreResetAndEachNoIsReported) {
  const std::string first = AddNewBolt(""), second = AddNewBolt(""), deep = AddNewBolt("Bracket.1");
  ASSERT_TRUE(Start());
  CADDialogDriver& driver = Dialogs().Driver();
  ASSERT_EQ(driver.GetRowCount("ZRBResetPosDialog", "MatrixToBeUpdated"), 3);
  // The lines come in the order of the check: the root's new instances, then the nested one.
  ASSERT_EQ(driver.GetCell("ZRBResetPosDialog", "MatrixToBeUpdated", 1, 3).str(), second);
  ASSERT_TRUE(driver.SelectRows("ZRBResetPosDialog", "MatrixToBeUpdated", {1}));
  ASSERT_TRUE(driver.Push("ZRBResetPosDialog", "MatrixToggleButton"));
  EXPECT_EQ(driver.GetCell("ZRBResetPosDialog", "MatrixToBeUpdated", 1, 0), CADUnicodeString("NO"));
  ASSERT_TRUE(driver.PressWindowButton("ZRBResetPosDialog", CADDlgEvent::OK));
  Loop().RunPending();

  EXPECT_EQ(Position(first), kIdentity);
  EXPECT_EQ(Position(second), kAway);  // same part, same parent, marked NO
  EXPECT_EQ(Position(deep), kIdentity);
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_TRUE(centre.found);
  ASSERT_EQ(centre.warnings.Size(), 1);
  EXPECT_NE(centre.warnings[1].str().find(second), std::string::npos) << centre.warnings[1];
  EXPECT_FALSE(driver.IsOpen("ZRBResetPosDialog"));
}

TEST_F(ResetInvalidPosTest, CancelMovesNothingAndNothingInvalidOpensNoDialog) {
  EXPECT_FALSE(Start());
  const std::string added = AddNewBolt("");
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Dialogs().Driver().PressWindowButton("ZRBResetPosDialog", CADDlgEvent::Cancel));
  Loop().RunPending();
  EXPECT_EQ(Position(added), kAway);
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_TRUE(centre.found);
  EXPECT_EQ(centre.warnings.Size(), 1);
}

}  // namespace
