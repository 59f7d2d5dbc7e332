// Putting instances back where they belong. Restoring the positions the PDM last knew: instances below products
// loaded from the PDM go back, the children of standard parts and of products the PDM does not know stay, an
// unreadable stored position fails the restore without keeping the other instances from theirs. Resetting new
// instances away from the identity: the lines left at "yes" go to the identity, the others stay and are reported.
// Reading and moving positions through the command base; the position slots of a save request.
// The text form of positions: exact output, column order, refused texts, the tolerance, NaN, the process locale.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADMathTransformation.h"
#include "CommaLocale.h"
#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBCommand.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
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

CADDocument* DocumentOf(const CADIProduct_var& product) {
  CADDocument* document = nullptr;
  ZRBFileUtil::GetRefDocFromCADIProduct(product, &document);
  return document;
}

// The same assembly seen from the bracket and its second bolt.
class ProductPositionTest : public RestorePositionTest {
 protected:
  void SetUp() override {
    RestorePositionTest::SetUp();
    bracket_ = Node("Bracket.1");
    bolt_ = Node("Bracket.1/Bolt.2");
    ASSERT_TRUE(bracket_ && bolt_);
    command_ = probe_;
  }
  void TearDown() override {
    bolt_ = bracket_ = nullptr;
    RestorePositionTest::TearDown();
  }
  std::string BoltText() { return Position("Bracket.1/Bolt.2"); }

  CADIProduct_var bracket_, bolt_;
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

using Coefficients = std::array<double, 12>;

std::string Text(const Coefficients& c) {
  CADUnicodeString text;
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToString(c.data(), text), S_OK);
  return text.str();
}

TEST(PositionTextTest, TextMatchesTheStoredFormatForIdentityRotationAndAwkwardNumbers) {
  const double third = 1.0 / 3.0;
  struct Case {
    Coefficients c;
    const char* expected;
  };
  const Case cases[] = {
      {{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, "1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1"},
      // A quarter turn about z, then moved: x goes to y, y to -x.
      {{0, 1, 0, -1, 0, 0, 0, 0, 1, 90, 40, 5}, "0 1 0 0 -1 0 0 0 0 0 1 0 90 40 5 1"},
      {{third, -0.1, 0.000125, 0, 0, 0, 0, 0, 0, 123456789012.5, -2.5e+300, 1e-7},
       "0.3333333333333333 -0.1 0.000125 0 0 0 0 0 0 0 0 0 123456789012.5 -2.5e+300 1e-07 1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Text(c.c), c.expected);
}

TEST(PositionTextTest, TextIsTheColumnMajorMatrixOfTheHostsTransformation) {
  // Rotation about x, then about z, then a move: every axis vector differs, so a row-major or shuffled text
  // cannot pass.
  const CADMathTransformation placement = CADMathTransformation::Translation(7, -8, 9) *
                                          CADMathTransformation::Rotation(2, 30) *
                                          CADMathTransformation::Rotation(0, 45);
  CADUnicodeString text;
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToString(placement.Coefficients().data(), text), S_OK);
  double numbers[16];
  std::istringstream in(text.str());
  for (double& number : numbers) ASSERT_TRUE(in >> number);
  const CADMathPoint origin = placement * CADMathPoint{0, 0, 0};
  const CADMathPoint units[3] = {placement * CADMathPoint{1, 0, 0}, placement * CADMathPoint{0, 1, 0},
                                 placement * CADMathPoint{0, 0, 1}};
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    EXPECT_NEAR(numbers[column * 4 + 0], units[column].x - origin.x, 1e-12);
    EXPECT_NEAR(numbers[column * 4 + 1], units[column].y - origin.y, 1e-12);
    EXPECT_NEAR(numbers[column * 4 + 2], units[column].z - origin.z, 1e-12);
    EXPECT_EQ(numbers[column * 4 + 3], 0.0);
  }
  EXPECT_EQ(std::vector<double>(numbers + 12, numbers + 16), (std::vector<double>{7, -8, 9, 1}));

  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(text, back), S_OK);
  // Sixteen significant digits: the text reads back to within the last digit.
  for (int i = 0; i < 12; ++i) EXPECT_NEAR(back[i], placement.Coefficients()[i], 1e-15 * 16) << i;
}

// Accepted spellings read the same coefficients; malformed texts are refused and leave the coefficients alone.
TEST(PositionTextTest, TextsAreReadWholeOrNotAtAll) {
  const std::pair<const char*, bool> texts[] = {
      {"1 0 0 0 0 1 0 0 0 0 1 0 2.5 -3 4 1", true},
      {"  1 0 0 0\t0 1 0 0\n0 0 1 0 2.5 -3 4 1  \r\n", true},
      {"+1 0 0 9 0 1e0 0 9 0 0 1.0 9 25e-1 -3.0 +4 7", true},  // the fixed column is not kept
      {"", false},
      {"   ", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0", false},      // fifteen numbers
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1 0", false},  // seventeen
      {"1,5 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},  // comma decimal separator
      {"1 0 0 0 0 1 0 0 0 0 1 0 0,5 0 0 1", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1x", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 abc 0 0 1", false},
      {"++1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},
      {"-+1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1", false},
      {"1 0 0 0 0 1 0 0 0 0 1 0 1e999 0 0 1", false},  // out of range
      {"1;0;0;0;0;1;0;0;0;0;1;0;0;0;0;1", false},
  };
  for (const auto& [text, ok] : texts) {
    SCOPED_TRACE(text);
    Coefficients read;
    read.fill(42.0);
    EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(text, read.data()), ok ? S_OK : E_FAIL);
    Coefficients expected = {1, 0, 0, 0, 1, 0, 0, 0, 1, 2.5, -3, 4};
    if (!ok) expected.fill(42.0);
    EXPECT_EQ(read, expected);
  }
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(ZRBPosMatrixUtil::kIdentityText, nullptr), E_FAIL);
}

TEST(PositionTextTest, CompareHonoursTheToleranceAtItsBoundAndNeverCallsNaNEqual) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int index;
    double base;
    double other;
    int equal;
  };
  const Case cases[] = {
      {0, 0.0, 1e-7, 1},
      {0, 0.0, -1e-7, 1},
      {11, 250.0, 250.0 + 1e-7, 1},
      {5, 0.0, 2e-7, 0},
      {9, 0.0, 1.0000001e-7, 0},
      {11, 250.0, 250.0 + 2e-7, 0},
      {3, 0.0, nan, 0},
      {7, nan, 0.0, 0},
      {10, nan, nan, 0},
      {2, 1.0, std::numeric_limits<double>::infinity(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.index << ": " << c.base << " vs " << c.other);
    Coefficients a = {0, 1, 0, -1, 0, 0, 0, 0, 1, 10, 20, 30};
    Coefficients b = a;
    a[c.index] = c.base;
    b[c.index] = c.other;
    int equal = -1;
    ASSERT_EQ(ZRBPosMatrixUtil::Compare(a.data(), b.data(), &equal), S_OK);
    EXPECT_EQ(equal, c.equal);
    ASSERT_EQ(ZRBPosMatrixUtil::Compare(b.data(), a.data(), &equal), S_OK);
    EXPECT_EQ(equal, c.equal);
  }
  Coefficients a{};
  EXPECT_EQ(ZRBPosMatrixUtil::Compare(a.data(), a.data(), nullptr), E_FAIL);
}

TEST(PositionTextTest, AStoredNaNPositionReadsBackAndComparesUnequal) {
  Coefficients corrupt = {1, 0, 0, 0, 1, 0, 0, 0, 1, std::numeric_limits<double>::quiet_NaN(), 0, 0};
  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix(Text(corrupt), back), S_OK);
  EXPECT_TRUE(std::isnan(back[9]));
  EXPECT_EQ(ZRBPosMatrixUtil::IsFinite(back), 0);
  const Coefficients identity = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  EXPECT_EQ(ZRBPosMatrixUtil::IsFinite(identity.data()), 1);
  int equal = 1;
  ASSERT_EQ(ZRBPosMatrixUtil::Compare(back, identity.data(), &equal), S_OK);
  EXPECT_EQ(equal, 0);
}

TEST(PositionTextTest, ACommaDecimalLocaleInTheProcessStillWritesAndReadsDots) {
  CommaLocale locale;
  if (!locale.Active()) GTEST_SKIP() << "no locale with a comma decimal separator can be made here";
  const Coefficients c = {0, 1, 0, -1, 0, 0, 0, 0, 1, 12.25, -0.5, 3.75};
  EXPECT_EQ(Text(c), "0 1 0 0 -1 0 0 0 0 0 1 0 12.25 -0.5 3.75 1");
  double back[12];
  ASSERT_EQ(ZRBPosMatrixUtil::ConvertToMatrix("1 0 0 0 0 1 0 0 0 0 1 0 12.25 -0.5 3.75 1", back), S_OK);
  EXPECT_EQ(back[9], 12.25);
  EXPECT_EQ(back[10], -0.5);
  EXPECT_EQ(ZRBPosMatrixUtil::ConvertToMatrix("1 0 0 0 0 1 0 0 0 0 1 0 12,25 -0,5 3,75 1", back), E_FAIL);
  // The conversions leave the process locale as they found it.
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%.1f", 1.5);
  EXPECT_STREQ(buffer, "1,5");
}

}  // namespace
