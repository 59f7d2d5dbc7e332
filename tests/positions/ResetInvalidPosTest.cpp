// Resetting new instances that stand away from the identity: the dialog lists them, the lines left at "yes" go
// to the identity, the others stay and are reported; Cancel moves nothing; nothing to reset opens no dialog.
#include <gtest/gtest.h>

#include <string>

#include "CADDocument.h"
#include "CADEventLoop.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBResetInvalidPosCmd.h"
#include "ZRBResetPosDialog.h"

namespace {

constexpr const char* kIdentity = "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1";
constexpr const char* kAway = "0 -1 0 0 1 0 0 0 0 0 1 0 7.5 -2 0.25 1";

class ResetInvalidPosTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    probe_ = new ZRBResetInvalidPosCmd();
    CADDocument* document = sample_.Open("Assembly.CADProduct");
    ASSERT_NE(document, nullptr);
    root_ = document->GetRootProduct();
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    GlobPropertyManager.SetReferenceProperty(root_, "ZRB_OBID", "A-1");
    MarkKnown(root_);  // every instance of the sample is known to the PDM
  }
  void TearDown() override {
    probe_->Release();
    root_ = nullptr;
    CommandFixture::TearDown();
  }
  void MarkKnown(const CADIProduct_var& parent) {
    for (const CADBaseUnknown_var& item : parent->GetChildren()) {
      CADIProduct_var child(item);
      GlobPropertyManager.SetInstanceProperty(parent, child, "ZRB_RELATION", "R-" + SampleSession::InstanceName(child));
      MarkKnown(child);
    }
  }
  // A new instance of the bolt below `parent`, moved away from the identity; its instance name.
  std::string AddNewBolt(const CADIProduct_var& parent) {
    CADIProduct_var child;
    EXPECT_EQ(parent->AddExternalComponent(sample_.Open("Bolt.CADPart"), child), S_OK);
    double away[12];
    ZRBPosMatrixUtil::ConvertToMatrix(kAway, away);
    probe_->MoveProduct(child, parent, away);
    return SampleSession::InstanceName(child);
  }
  std::string Position(const CADIProduct_var& parent, const std::string& name) {
    double c[12];
    EXPECT_EQ(probe_->GetProductPosition(SampleSession::Child(parent, name), parent, c), 1);
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(c, text);
    return text.str();
  }
  // Starts the command; true when its dialog came up.
  bool Start() {
    auto* command = new ZRBResetInvalidPosCmd();
    command->Activate(nullptr, nullptr);
    CADEventLoop::Instance().RunPending();
    return Dialogs().Driver().IsOpen("ZRBResetPosDialog");
  }

  SampleSession sample_;
  CADIProduct_var root_;
  ZRBResetInvalidPosCmd* probe_ = nullptr;  // for positions only; never activated
};

TEST_F(ResetInvalidPosTest, OnlyTheLinesLeftAtYesAreResetAndEachNoIsReported) {
  const std::string first = AddNewBolt(root_), second = AddNewBolt(root_);
  const CADIProduct_var bracket = SampleSession::Node(root_, "Bracket.1");
  const std::string deep = AddNewBolt(bracket);
  ASSERT_TRUE(Start());
  ASSERT_EQ(Dialogs().Driver().GetRowCount("ZRBResetPosDialog", "MatrixToBeUpdated"), 3);
  // The lines come in the order of the check: the root's new instances, then the nested one.
  ASSERT_EQ(Dialogs().Driver().GetCell("ZRBResetPosDialog", "MatrixToBeUpdated", 1, 3).str(), second);
  ASSERT_TRUE(Dialogs().Driver().SelectRows("ZRBResetPosDialog", "MatrixToBeUpdated", {1}));
  ASSERT_TRUE(Dialogs().Driver().Push("ZRBResetPosDialog", "MatrixToggleButton"));
  EXPECT_EQ(Dialogs().Driver().GetCell("ZRBResetPosDialog", "MatrixToBeUpdated", 1, 0), CADUnicodeString("NO"));
  ASSERT_TRUE(Dialogs().Driver().PressWindowButton("ZRBResetPosDialog", CADDlgEvent::OK));
  CADEventLoop::Instance().RunPending();

  EXPECT_EQ(Position(root_, first), kIdentity);
  EXPECT_EQ(Position(root_, second), kAway);  // same part, same parent, marked NO
  EXPECT_EQ(Position(bracket, deep), kIdentity);
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_TRUE(centre.found);
  ASSERT_EQ(centre.warnings.Size(), 1);
  EXPECT_NE(centre.warnings[1].str().find(second), std::string::npos) << centre.warnings[1];
  EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBResetPosDialog"));
}

TEST_F(ResetInvalidPosTest, CancelMovesNothingAndNothingInvalidOpensNoDialog) {
  EXPECT_FALSE(Start());
  const std::string added = AddNewBolt(root_);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(Dialogs().Driver().PressWindowButton("ZRBResetPosDialog", CADDlgEvent::Cancel));
  CADEventLoop::Instance().RunPending();
  EXPECT_EQ(Position(root_, added), kAway);
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_TRUE(centre.found);
  EXPECT_EQ(centre.warnings.Size(), 1);
}

}  // namespace
