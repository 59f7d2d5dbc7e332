// Reading and moving instance positions through the command base, and the position slots of a save request for
// moved, unmoved, flagged and write-protected instances.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "CADDocument.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBCommand.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"

namespace {

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

class ProductPositionTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    root_ = sample_.OpenAssembly();
    ASSERT_TRUE(root_);
    bracket_ = SampleSession::Child(root_, "Bracket.1");
    bolt_ = SampleSession::Node(root_, "Bracket.1/Bolt.2");
    ASSERT_TRUE(bracket_ && bolt_);
    command_ = new ProbeCommand();
  }
  void TearDown() override {
    command_->Release();
    bolt_ = bracket_ = root_ = nullptr;
    CommandFixture::TearDown();
  }

  std::string BoltText() {
    double position[12];
    EXPECT_EQ(command_->GetProductPosition(bolt_, bracket_, position), 1);
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(position, text);
    return text.str();
  }

  SampleSession sample_;
  CADIProduct_var root_, bracket_, bolt_;
  ProbeCommand* command_ = nullptr;
};

TEST_F(ProductPositionTest, PositionIsReadInTheFatherAndInAnAncestorContext) {
  double position[12];
  ASSERT_EQ(command_->GetProductPosition(bolt_, bracket_, position), 1);
  const double quarterTurn[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 90, 40, 5};
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(position[i], quarterTurn[i], 1e-12) << i;

  // Bracket.2 is turned half way about z and moved by 0 300 0.
  CADIProduct_var bolt2 = SampleSession::Node(root_, "Bracket.2/Bolt.2");
  ASSERT_EQ(command_->GetProductPosition(bolt2, root_, position), 1);
  const double inAssembly[12] = {0, -1, 0, 1, 0, 0, 0, 0, 1, -90, 260, 5};
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(position[i], inAssembly[i], 1e-12) << i;

  EXPECT_EQ(command_->GetProductPosition(nullptr, bracket_, position), 0);
  EXPECT_EQ(command_->GetProductPosition(bolt_, nullptr, position), 0);
  EXPECT_EQ(command_->GetProductPosition(root_, bracket_, position), 0);  // no ancestor of the root
}

TEST_F(ProductPositionTest, OnlyARealMoveChangesThePositionAndMarksTheFathersDocument) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    double target[12];
    int result;
    bool moves;
  };
  const Case cases[] = {
      {"same", {0, 1, 0, -1, 0, 0, 0, 0, 1, 90, 40, 5}, 1, false},
      {"within tolerance", {0, 1, 0, -1, 0, 0, 0, 0, 1, 90 + 9e-8, 40, 5 - 9e-8}, 1, false},
      {"moved", {1, 0, 0, 0, 1, 0, 0, 0, 1, 90, 40, 6}, 1, true},
      {"corrupt", {0, 1, 0, -1, 0, 0, 0, 0, 1, nan, 40, 5}, 0, false},
  };
  CADDocument* bracketDocument = DocumentOf(bracket_);
  CADDocument* boltDocument = DocumentOf(bolt_);
  ASSERT_TRUE(bracketDocument && boltDocument);
  ASSERT_NE(bracketDocument, boltDocument);
  const double original[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 90, 40, 5};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bracketDocument->SetDirty(0);
    boltDocument->SetDirty(0);
    EXPECT_EQ(command_->MoveProduct(bolt_, bracket_, c.target), c.result);
    double now[12];
    ASSERT_EQ(command_->GetProductPosition(bolt_, bracket_, now), 1);
    int equal = 0;
    ZRBPosMatrixUtil::Compare(now, c.moves ? c.target : original, &equal);
    EXPECT_EQ(equal, 1);
    EXPECT_EQ(bracketDocument->IsDirty() != 0, c.moves);
    // The part's geometry did not change: its document stays unmodified.
    EXPECT_EQ(boltDocument->IsDirty(), 0u);
    if (c.moves) {
      ASSERT_EQ(command_->MoveProduct(bolt_, bracket_, original), 1);
    }
  }
  EXPECT_EQ(command_->MoveProduct(nullptr, bracket_, original), 0);
}

TEST_F(ProductPositionTest, RequestSlotsForMovedUnmovedFlaggedAndWriteProtectedInstances) {
  const std::string identity = ZRBPosMatrixUtil::kIdentityText;
  const std::string atSample = "0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1";
  const std::string nearSample = "0 1 0 0 -1 0 0 0 0 0 1 0 90.00000005 40 5 1";
  struct Case {
    const char* name;
    std::string original;  // "ZRB_ORIG_MATRIX"
    const char* mustSend;  // "S_ZRB_CHANGED_POS"
    const char* relation;  // "ZRB_RELATION": empty for an instance the PDM does not know
    bool noPublicUpdate;
    const char* parentChangeable;
    int result;
    bool updMatrix;
    bool relDbName;
    const char* mustSendAfter;
    int warnings;
  };
  const Case cases[] = {
      {"unmoved, same text", atSample, "", "rel-7", false, "1", 1, false, false, "", 0},
      {"unmoved within tolerance", nearSample, "", "rel-7", false, "1", 1, false, false, "", 0},
      {"moved from the stored identity", "", "", "rel-7", false, "1", 1, true, true, "", 0},
      {"moved, new instance", identity, "", "", false, "1", 1, false, false, "", 0},
      {"flagged at its original position", atSample, "1", "rel-7", false, "1", 1, true, true, "", 0},
      {"flagged, new instance keeps the mark", atSample, "1", "", false, "1", 1, false, false, "1", 0},
      {"moved under a write-protected parent", identity, "", "rel-7", true, "0", 1, false, true, "", 1},
      {"flagged under a write-protected parent keeps the mark", atSample, "1", "rel-7", true, "", 1, false, true, "1",
       1},
      {"switch on, parent changeable", identity, "", "rel-7", true, "1", 1, true, true, "", 0},
      {"unreadable stored position", "1,0 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", "", "rel-7", false, "1", 0, false, false, "",
       0},
  };
  ASSERT_EQ(BoltText(), atSample);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "ZRB_ORIG_MATRIX", c.original);
    GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "S_ZRB_CHANGED_POS", c.mustSend);
    GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "ZRB_RELATION", c.relation);
    GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "ZRB_REL_DB_NAME", "reldb");
    GlobPropertyManager.SetReferenceProperty(bracket_, "ZRB_CHANGEABLE", c.parentChangeable);
    GlobPropertyManager.DeletePathToRootProperty(bolt_, "ZRB_PRIVATE_UPDATE_ID");
    SetVariable("ZRB_NO_PUBLIC_POS_UPDATE", c.noPublicUpdate ? "ON" : "OFF");
    command_->GetWarnings() = CADListValCADUnicodeString();

    ZRBObjectManager manager;
    ZRBObject* object = manager.CreateObject("INST-1");
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(command_->SetProductTrafoToZRBObject(object, bolt_, bracket_), c.result);
    if (c.result) {
      EXPECT_EQ(object->GetSlotValue("MATRIX").str(), atSample);
      EXPECT_EQ(object->GetSlotValue("UNIT").str(), "1.0");
    }
    EXPECT_EQ(object->GetSlotValue("UPD_MATRIX").str(), c.updMatrix ? "1" : "");
    EXPECT_EQ(object->GetSlotValue("ZRB_PRIVATE_UPDATE_ID").str(), c.updMatrix ? "INST-1" : "");
    EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty(bolt_, "ZRB_PRIVATE_UPDATE_ID").str(),
              c.updMatrix ? "INST-1" : "");
    EXPECT_EQ(object->GetSlotValue("REL_DB_NAME").str(), c.relDbName ? "reldb" : "");
    EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(bracket_, bolt_, "S_ZRB_CHANGED_POS").str(), c.mustSendAfter);
    ASSERT_EQ(command_->GetWarnings().Size(), c.warnings);
    if (c.warnings) {
      const std::string warning = command_->GetWarnings()[1].str();
      EXPECT_NE(warning.find("Bolt.2"), std::string::npos) << warning;
      EXPECT_NE(warning.find("Bracket"), std::string::npos) << warning;
    }
  }
  EXPECT_EQ(command_->SetProductTrafoToZRBObject(nullptr, bolt_, bracket_), 0);
}

TEST_F(ProductPositionTest, AFailedUpdateKeepsThePositionToSendForTheNextSave) {
  GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "ZRB_ORIG_MATRIX", BoltText());
  GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "ZRB_RELATION", "rel-7");
  GlobPropertyManager.SetInstanceProperty(bracket_, bolt_, "S_ZRB_CHANGED_POS", "1");
  for (int save = 1; save <= 2; ++save) {
    SCOPED_TRACE(save);
    ZRBObjectManager manager;
    ZRBObject* object = manager.CreateObject("INST-1");
    ASSERT_EQ(command_->SetProductTrafoToZRBObject(object, bolt_, bracket_), 1);
    EXPECT_EQ(object->GetSlotValue("UPD_MATRIX").str(), "1");
    EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(bracket_, bolt_, "S_ZRB_CHANGED_POS").str(), "");
    // The PDM did not confirm the update.
    ZRBCommand::KeepPositionToSend(bracket_, bolt_);
  }
}

}  // namespace
