// The PDM pointing into the session: highlight files select products by OBID and relation path in every window
// whose root came from the PDM, always from the exchange map; the work-plane file names the active object.
// Building and renewing vis documents: free names, the vis below a PDM product, refusals, a failed renew.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADVisManager.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "XmapScratchDirectory.h"
#include "ZRBBuildVisuCmd.h"
#include "ZRBHighlightCmd.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBSetWorkplaneCmd.h"

namespace {

struct Item {
  const char* edescId;
  std::vector<CADString> nha;
  std::vector<CADString> ids;
  const char* hlProduct;
  const char* hlModels;
};

class HighlightAndWorkplaneTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("ZRBXMAP", xmap_.Root().c_str());
    CADDocument* document = sample_.Open("Assembly.CADProduct");
    ASSERT_NE(document, nullptr);
    root_ = document->GetRootProduct();
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(sample_.Open("Plate.CADPart"), other_), S_OK);
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window_), S_OK);
    GlobPropertyManager.SetReferenceProperty(root_, "ZRB_OBID", "A-1");
    Known(root_, "Bracket.1", "R1", "B-1");
    Known(root_, "Bracket.2", "R2", "B-1");
    Known(Node("Bracket.1"), "Bolt.1", "R11", "BOLT");
    Known(Node("Bracket.1"), "Bolt.2", "R12", "BOLT");
  }
  void TearDown() override {
    root_ = nullptr;
    CommandFixture::TearDown();
  }
  CADIProduct_var Node(const char* path) { return SampleSession::Node(root_, path); }
  void Known(const CADIProduct_var& parent, const char* name, const char* relation, const char* obid) {
    CADIProduct_var child = SampleSession::Child(parent, name);
    GlobPropertyManager.SetInstanceProperty(parent, child, "ZRB_RELATION", relation);
    GlobPropertyManager.SetReferenceProperty(child, "ZRB_OBID", obid);
  }
  static CADListValCADString List(const std::vector<CADString>& items) {
    CADListValCADString list;
    for (const CADString& item : items) list.Append(item);
    return list;
  }
  // Writes a highlight (or work-plane) file: "ROOT" is the first item, the others are listed in "ITEMLIST".
  std::string WriteFile(const char* name, const std::vector<Item>& items) {
    ZRBObjectManager objects;
    CADListValCADString keys;
    for (std::size_t i = 0; i < items.size(); ++i) {
      ZRBObject* object = objects.CreateObject(i == 0 ? CADString("ROOT") : CADString("I" + std::to_string(i)));
      if (i > 0) keys.Append(object->GetKey());
      object->SetSlotValue("EDESC_ID", items[i].edescId);
      object->SetSlotValueList("NHA_ID_LIST", List(items[i].nha));
      object->SetSlotValueList("ID", List(items[i].ids));
      object->SetSlotValue("HL_PRODUCT", items[i].hlProduct);
      object->SetSlotValue("HL_MODELS", items[i].hlModels);
    }
    objects.GetObject("ROOT")->SetSlotValueList("ITEMLIST", keys);
    const std::string path = xmap_.Path(name);
    objects.Write(CADUnicodeString(path));
    return path;
  }
  // The selection of a window as instance paths ("Bracket.1/Bolt.2"; the root alone is "").
  static std::vector<std::string> Selected(CADFrmWindow* window) {
    std::vector<std::string> paths;
    CADCSO* cso = window->GetEditor()->GetCSO();
    for (int i = 1; i <= cso->GetSize(); ++i) paths.push_back(Describe(*cso->GetElement(i)));
    return paths;
  }
  static std::string Describe(const CADPathElement& path) {
    std::string text;
    for (int j = 2; j <= path.GetSize(); ++j)
      text += (j > 2 ? "/" : "") + SampleSession::InstanceName(CADIProduct_var(path.GetElement(j)));
    return text;
  }
  void Run(ZRBOneStepCommand* command) {
    command->Activate(nullptr, nullptr);
    Loop().RunPending();
  }

  XmapScratchDirectory xmap_;
  SampleSession sample_;
  CADIProduct_var root_;
  CADFrmWindow* window_ = nullptr;
  CADFrmWindow* other_ = nullptr;  // a part not from the PDM
};

TEST_F(HighlightAndWorkplaneTest, HighlightSelectsPerWindowAndLeavesWindowsNotFromThePdm) {
  CADPathElement kept{CADBaseUnknown_var(other_->GetDocument()->GetRootProduct())};
  other_->GetEditor()->GetCSO()->AddElement(kept);
  window_->GetEditor()->GetCSO()->AddElement(CADPathElement{CADBaseUnknown_var(root_)});
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.2"), "ZRB_ISCOMPONENT", "1");
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.2"), "ZRB_PRODUCT_OBID", "BP-2");
  // Duplicate relations among siblings: the search must go back when the first "R1" leads nowhere.
  GlobPropertyManager.SetInstanceProperty(root_, Node("Bracket.2"), "ZRB_RELATION", "R1");
  GlobPropertyManager.SetInstanceProperty(Node("Bracket.1"), Node("Bracket.1/Bolt.1"), "ZRB_RELATION", "R9");
  WriteFile("x", {{"A-1", {}, {}, "0", "0"},
                  {"BOLT", {"R1", "R12"}, {}, "1", "0"},        // a product by its path
                  {"B-1", {"R2"}, {"BOLT", "NONE"}, "0", "1"},  // models below a product (none with "R2")
                  {"A-1", {}, {"BP-2"}, "0", "1"}});            // a component by its product OBID: under root
  Run(new ZRBHighlightCmd("../../etc/x"));
  // Bracket.2 lost its "R2", so the third item finds nothing; the root is no component.
  EXPECT_EQ(Selected(window_), (std::vector<std::string>{"Bracket.1/Bolt.2"}));
  EXPECT_EQ(Selected(other_), (std::vector<std::string>{""})) << "a window not from the PDM keeps its selection";

  GlobPropertyManager.SetInstanceProperty(root_, Node("Bracket.2"), "ZRB_RELATION", "R2");
  WriteFile("z", {{"BP-2", {"R2"}, {"BP-2"}, "0", "1"}});
  GlobPropertyManager.SetReferenceProperty(Node("Bracket.2"), "ZRB_OBID", "BP-2");
  Run(new ZRBHighlightCmd("/elsewhere/z"));
  EXPECT_EQ(Selected(window_), (std::vector<std::string>{"Bracket.2"})) << "a component by its product OBID";
}

TEST_F(HighlightAndWorkplaneTest, TopLevelModelsAndAMissingFile) {
  WriteFile("top", {{"ROOT", {}, {"A-1"}, "", ""}});
  Run(new ZRBHighlightCmd("top"));
  EXPECT_EQ(Selected(window_), (std::vector<std::string>{""}));
  WriteFile("empty", {{"ROOT", {}, {}, "", ""}});
  ExpectBox("ZRBHighlightCmd.HighlightFailed", 1);
  Run(new ZRBHighlightCmd("empty"));
  EXPECT_TRUE(Selected(window_).empty()) << "cleared before the failure";
  ExpectBox("ZRBHighlightCmd.NoFileAccess", 1);
  Run(new ZRBHighlightCmd("missing"));
}

TEST_F(HighlightAndWorkplaneTest, WorkPlaneFollowsTheRelationPathAndTheFileIsDeletedInEveryCase) {
  struct Case {
    const char* name;
    Item item;
    const char* box;     // null: none
    std::string active;  // afterwards
  };
  const Case cases[] = {
      {"nested", {"BOLT", {"R1", "R12"}, {}, "", ""}, nullptr, "Bracket.1/Bolt.2"},
      {"root", {"A-1", {}, {}, "", ""}, nullptr, ""},
      {"wrong-second", {"BOLT", {"R1", "R99"}, {}, "", ""}, "ZRBSetWorkplaneCmd.SetWorkplaneFailed", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = WriteFile(c.name, {c.item});
    if (c.box) ExpectBox(c.box, 1);
    Run(new ZRBSetWorkplaneCmd(CADString(path)));
    EXPECT_EQ(Describe(window_->GetEditor()->GetActivePath()), c.active);
    EXPECT_FALSE(xmap_.Exists(c.name));
    if (std::string(c.name) == "nested")
      window_->GetEditor()->SetActivePath(CADPathElement{CADBaseUnknown_var(root_)}, 1);
  }
  ExpectBox("ZRBSetWorkplaneCmd.NoFileAccess", 1);
  Run(new ZRBSetWorkplaneCmd(CADString(xmap_.Path("missing"))));
  // Only a regular file is deleted: a directory or a link named by the PDM stays.
  const std::string target = xmap_.Write("target");
  ExpectBox("ZRBSetWorkplaneCmd.NoFileAccess", 1);
  Run(new ZRBSetWorkplaneCmd(CADString(xmap_.MakeDirectory("dir"))));
  ExpectBox("ZRBSetWorkplaneCmd.SetWorkplaneFailed", 1);  // read through the link: no "ROOT"
  Run(new ZRBSetWorkplaneCmd(CADString(xmap_.Symlink("link", target))));
  EXPECT_TRUE(xmap_.Exists("dir") && xmap_.Exists("link") && xmap_.Exists("target"));
}

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
