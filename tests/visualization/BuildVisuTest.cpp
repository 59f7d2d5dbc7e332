// Building and renewing visualisation documents: the free vis names in the exchange map, the vis attached below
// the selected PDM product, the refusals, and a renew that fails before anything of the session changed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADVisManager.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "XmapScratchDirectory.h"
#include "ZRBBuildVisuCmd.h"
#include "ZRBPropertyManager.h"

namespace {

class BuildVisuTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("ZRBXMAP", xmap_.Root().c_str());
    CADDocument* document = sample_.Open("Assembly.CADProduct");
    ASSERT_NE(document, nullptr);
    root_ = document->GetRootProduct();
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window_), S_OK);
    GlobPropertyManager.SetReferenceProperty(Node("Bracket.1"), "ZRB_OBID", "B-1");
  }
  void TearDown() override {
    root_ = nullptr;
    CommandFixture::TearDown();
  }
  CADIProduct_var Node(const char* path) { return SampleSession::Node(root_, path); }
  void Select(const std::vector<const char*>& paths) {
    CADCSO* cso = window_->GetEditor()->GetCSO();
    cso->Empty();
    for (const std::string path : paths) {
      CADPathElement element{CADBaseUnknown_var(root_)};
      for (size_t slash = path.find('/');; slash = path.find('/', slash + 1)) {
        element.AddChildElement(CADBaseUnknown_var(Node(path.substr(0, slash).c_str())));
        if (slash == std::string::npos) break;
      }
      cso->AddElement(element);
    }
  }
  bool Run() {
    auto* command = new ZRBBuildVisuCmd();
    command->Activate(nullptr, nullptr);
    Loop().RunPending();
    return Dialogs().LastMessageCentre().status.str().find("ready") != std::string::npos;
  }
  void Touch(const std::string& name) { std::ofstream(xmap_.Root() + "/" + name) << "x"; }

  XmapScratchDirectory xmap_;
  SampleSession sample_;
  CADIProduct_var root_;
  CADFrmWindow* window_ = nullptr;
};

TEST_F(BuildVisuTest, TheVisNameIsTheFirstOneFreeInTheExchangeMapAndBelowTheProduct) {
  ZRBBuildVisuCmd* command = new ZRBBuildVisuCmd();
  struct Case {
    const char* partNumber;
    const char* take;      // a file made before the call ("" none)
    const char* expected;  // "" no name
  };
  const Case cases[] = {
      {"P-100", "", "P-100_VISU"},
      {"P-100", "P-100_VISU.vis", "P-100_2_VISU"},
      {"P-100", "P-100_2_VISU.vis", "P-100_3_VISU"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    if (*c.take) Touch(c.take);
    CADUnicodeString path, partNumber;
    EXPECT_EQ(command->GetNewVisPathInXmap(c.partNumber, nullptr, path, partNumber), *c.expected ? 1 : 0);
    EXPECT_EQ(partNumber.str(), c.expected);
    if (*c.expected) {
      EXPECT_EQ(path.str(), xmap_.Root() + "/" + c.expected + ".vis");
    }
  }
  // A product below with the name takes it as well as a file does.
  CADUnicodeString path, partNumber;
  EXPECT_EQ(command->GetNewVisPathInXmap("Bo", Node("Bracket.1"), path, partNumber), 1);
  EXPECT_EQ(partNumber.str(), "Bo_VISU");
  ASSERT_EQ(Node("Bracket.1/Bolt.1")->SetPartNumber("Bo_VISU"), S_OK);
  EXPECT_EQ(command->GetNewVisPathInXmap("Bo", Node("Bracket.1"), path, partNumber), 1);
  EXPECT_EQ(partNumber.str(), "Bo_2_VISU");
  command->Release();
}

TEST_F(BuildVisuTest, AVisIsBuiltBelowTheProductAndRenewedOnlyAfterItsFileIsSaved) {
  CADViewer* viewer = CADVisManager::Get().GetViewer(window_);  // the window is on screen before the build
  Select({"Bracket.1"});
  ASSERT_TRUE(Run());
  CADIProduct_var vis = SampleSession::Child(Node("Bracket.1"), "Bracket_VISU.1");
  ASSERT_TRUE(vis);
  EXPECT_EQ(GlobPropertyManager.GetProductType(vis).str(), "vis");
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(vis, "ZRB_SET_VISU_MODEL_TYPE").str(), "1");
  EXPECT_TRUE(std::filesystem::exists(xmap_.Root() + "/Bracket_VISU.vis"));
  // The vis holds the bracket's parts where they sit.
  CADDocument* visDocument = vis->GetShapeRepresentationDocument("Default");
  ASSERT_NE(visDocument, nullptr);
  EXPECT_EQ(visDocument->GetBodies().size(), 3u);
  // It is shown at once: the window's viewer has a representation for the new node.
  CADPathElement shown{CADBaseUnknown_var(root_)};
  shown.AddChildElement(CADBaseUnknown_var(Node("Bracket.1")));
  shown.AddChildElement(CADBaseUnknown_var(vis));
  CADRepPath reps;
  EXPECT_EQ(CADVisManager::Get().GenerateRepPathFromPathElement(shown, viewer->GetMain3DViewpoint(), reps), S_OK);

  // Renewing a visualisation the PDM knows as one.
  GlobPropertyManager.SetReferenceProperty(vis, "ZRB_IS_VISUALIZATION", "1");
  Select({"Bracket.1/Bracket_VISU.1"});
  ASSERT_TRUE(Run());
  EXPECT_TRUE(SampleSession::Child(Node("Bracket.1"), "Bracket_VISU.1")) << "the renewed node keeps its place";
  EXPECT_EQ(SampleSession::Child(Node("Bracket.1"), "Bracket_VISU.1")->GetPartNumber().str(), "Bracket_2_VISU");

  // An exchange map that cannot be written: the save fails and the node keeps its representation.
  SetVariable("ZRBXMAP", (xmap_.Root() + "/gone").c_str());
  Select({"Bracket.1/Bracket_VISU.1"});
  EXPECT_FALSE(Run());
  EXPECT_EQ(SampleSession::Child(Node("Bracket.1"), "Bracket_VISU.1")->GetPartNumber().str(), "Bracket_2_VISU");
}

TEST_F(BuildVisuTest, AnythingButOnePdmProductOrVisualisationIsRefused) {
  const std::vector<std::vector<const char*>> selections = {{"Bracket.1", "Bracket.2"}, {"Bracket.1/Bolt.1"}, {}};
  for (const auto& selection : selections) {
    Select(selection);
    ExpectBox("ZRBBuildVisuCmd.NoZRBProductSelected", 1);
    EXPECT_FALSE(Run());
  }
  EXPECT_EQ(SampleSession::ChildNames(Node("Bracket.1")), "Plate.1,Bolt.1,Bolt.2");
}

}  // namespace
