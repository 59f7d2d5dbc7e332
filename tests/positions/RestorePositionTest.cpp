// Restoring the positions the PDM last knew: instances below products loaded from the PDM go back to their
// stored position, the children of standard parts and of products the PDM does not know stay where they are,
// an unreadable stored position fails the restore without keeping the other instances from theirs.
#include <gtest/gtest.h>

#include <string>

#include "CADDocument.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBRestorePositionCmd.h"

namespace {

class RestorePositionTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocument* document = sample_.Open("Assembly.CADProduct");
    ASSERT_NE(document, nullptr);
    root_ = document->GetRootProduct();
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    command_ = new ZRBRestorePositionCmd();
    // The assembly and the bracket came from the PDM; the embedded "Fixings" did not.
    GlobPropertyManager.SetReferenceProperty(root_, "ZRB_OBID", "A-1");
    GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_OBID", "B-1");
  }
  void TearDown() override {
    command_->Release();
    root_ = nullptr;
    CommandFixture::TearDown();
  }
  CADIProduct_var Node(const char* path) { return SampleSession::Node(root_, path); }
  CADIProduct_var Father(const char* path) {
    std::string p(path);
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? root_ : Node(p.substr(0, slash).c_str());
  }
  std::string Position(const char* path) {
    double c[12];
    EXPECT_EQ(command_->GetProductPosition(Node(path), Father(path), c), 1);
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(c, text);
    return text.str();
  }
  void Store(const char* path, const char* original) {
    GlobPropertyManager.SetInstanceProperty(Father(path), Node(path), "ZRB_ORIG_MATRIX", original);
  }

  SampleSession sample_;
  CADIProduct_var root_;
  ZRBRestorePositionCmd* command_ = nullptr;
};

const char* const kStored = "0 -1 0 0 1 0 0 0 0 0 1 0 7.5 -2 0.25 1";  // turned about z and moved

TEST_F(RestorePositionTest, InstancesBelowPdmProductsGoBackAndOthersStay) {
  struct Case {
    const char* path;
    const char* stored;  // "ZRB_ORIG_MATRIX"; null: none
    bool restored;
  };
  const Case cases[] = {
      {"Bracket.1/Bolt.2", kStored, true},    // below a product from the PDM
      {"Bracket.2", kStored, true},           // directly below the root
      {"Bracket.1/Plate.1", nullptr, false},  // nothing stored: left alone
      {"Fixings.1/Bolt.1", kStored, false},   // its father is not from the PDM
  };
  std::string before[4];
  for (int i = 0; i < 4; ++i) {
    before[i] = Position(cases[i].path);
    if (cases[i].stored) Store(cases[i].path, cases[i].stored);
  }
  EXPECT_EQ(command_->RestorePosition(), 1);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(Position(cases[i].path), cases[i].restored ? kStored : before[i]) << cases[i].path;
}

TEST_F(RestorePositionTest, AStandardPartKeepsItsChildrenAndAnUnreadablePositionFailsOnlyItsInstance) {
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_IS_STD_PART", "1");
  const std::string bolt = Position("Bracket.1/Bolt.1");
  Store("Bracket.1/Bolt.1", kStored);
  Store("Bracket.1", "1 0 0 0 0 1 0 0 0 0 1 0 12,5 0 0 1");  // written with a comma: unreadable
  const std::string bracket = Position("Bracket.1");
  Store("Bracket.2", kStored);
  EXPECT_EQ(command_->RestorePosition(), 0);
  EXPECT_EQ(Position("Bracket.1/Bolt.1"), bolt);
  EXPECT_EQ(Position("Bracket.1"), bracket);
  EXPECT_EQ(Position("Bracket.2"), kStored);
}

TEST_F(RestorePositionTest, WithoutAnEditorTheRestoreFailsWithAMessage) {
  CADFrmLayout::GetCurrentLayout().Reset();
  ZRBRestorePositionCmd* orphan = new ZRBRestorePositionCmd();
  ExpectBox("ZRBRestorePositionCmd.RestorePositionFailed", 1);
  EXPECT_EQ(orphan->RestorePosition(), 0);
  orphan->Release();
}

}  // namespace
