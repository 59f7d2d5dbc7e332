// The PDM and the designer pointing at each other through the reference PDM: show-in-PDM sends the selection's
// relation paths, the vault reads them back as item paths, and `pdmsim highlight` of those selects the same.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBHighlightInWBCmd.h"
#include "ZRBPropertyManager.h"

namespace {
using Names = std::vector<std::string>;

class PointingEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad());
    window_ = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
    Pdm("journal", "clear");
  }
  void TearDown() override {
    root_ = nullptr;
    PdmEndToEndFixture::TearDown();
  }

  // "Assembly/Bracket.1/Bolt.2" (as pdmsim names items): the path element from the root down to the node.
  CADPathElement PathTo(const std::string& itemPath) {
    CADPathElement path{CADBaseUnknown_var(root_)};
    const std::string below = itemPath.substr(std::min(itemPath.size(), itemPath.find('/') + 1));
    std::string walked;
    for (std::size_t start = 0; !below.empty() && start <= below.size();) {
      const std::size_t slash = std::min(below.find('/', start), below.size());
      walked += (walked.empty() ? "" : "/") + below.substr(start, slash - start);
      path.AddChildElement(CADBaseUnknown_var(SampleSession::Node(root_, walked)));
      start = slash + 1;
    }
    return path;
  }
  static std::string Describe(const CADPathElement& path) {
    std::string text;
    for (int i = 1; i <= path.GetSize(); ++i) {
      CADIProduct_var product(path.GetElement(i));
      text += i == 1 ? product->GetPartNumber().str() : "/" + SampleSession::InstanceName(product);
    }
    return text;
  }
  static Names Selected(CADFrmWindow* window) {
    Names paths;
    CADCSO* cso = window->GetEditor()->GetCSO();
    for (int i = 1; i <= cso->GetSize(); ++i) paths.push_back(Describe(*cso->GetElement(i)));
    std::sort(paths.begin(), paths.end());
    return paths;
  }
  void Select(const Names& itemPaths) {
    CADCSO* cso = window_->GetEditor()->GetCSO();
    cso->Empty();
    for (const std::string& itemPath : itemPaths) cso->AddElement(PathTo(itemPath));
  }
  void ShowInPdm() {
    Start(new ZRBHighlightInWBCmd());
    Loop().RunPending();
  }

  CADFrmWindow* window_ = nullptr;
  CADIProduct_var root_;
};

TEST_F(PointingEndToEndTest, ShownInThePdmAndHighlightedBackTheRelationPathsRoundTrip) {
  struct Case {
    Names added;   // items the PDM user adds to the workbench first (its window becomes the one to select in)
    Names chosen;  // selected, shown in the PDM, then highlighted back
    Names shown;   // the item paths the vault reads
  };
  const Names assembly = {"Assembly", "Assembly/Bracket.1/Bolt.2", "Assembly/Bracket.2", "Assembly/Bracket.2/Bolt.2",
                          "Assembly/Fixings.1/Bolt.1"};
  const Case cases[] = {
      {{}, assembly, assembly},
      // The workbench holds its items by no PDM relation: their paths start at the item.
      {{"Bracket"}, {"ZRB_Workbench/Bracket.1", "ZRB_Workbench/Bracket.1/Bolt.2"}, {"Bracket", "Bracket/Bolt.2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen.front());
    for (const std::string& item : c.added) {
      Pdm("load-into-cad", "--add", item);
      Loop().RunPending();
      window_ = CADFrmLayout::GetCurrentLayout().GetCurrentWindow();
      ASSERT_EQ(window_->GetRootProduct(root_), S_OK);
    }
    Pdm("journal", "clear");
    Select(c.chosen);
    ShowInPdm();
    const std::vector<PdmCall> calls = Journal();
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].action, "x3HighlightInWB");
    // The outcome names the items the vault found, as item paths.
    const std::string& outcome = calls[0].outcome;
    const std::size_t from = outcome.find("shown ");
    ASSERT_NE(from, std::string::npos) << outcome;
    Names items;
    for (std::size_t start = from + 6; start <= outcome.size();) {
      const std::size_t comma = std::min(outcome.find(", ", start), outcome.size());
      items.push_back(outcome.substr(start, comma - start));
      start = comma + 2;
    }
    Names sorted = items;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, c.shown) << outcome;

    Select({});
    Names args = {"highlight"};
    args.insert(args.end(), items.begin(), items.end());
    PdmArgs(args);
    Loop().RunPending();
    EXPECT_EQ(Selected(window_), c.chosen);
  }
}

TEST_F(PointingEndToEndTest, ShowInPdmRefusesAndSendsNothing) {
  const auto node = [this](const char* path) { return SampleSession::Node(root_, path); };
  struct Case {
    const char* name;
    Names selection;
    std::function<void()> prepare;
    Names boxes;
  };
  const Case cases[] = {
      {"nothing selected", {}, [] {}, {"ZRBHighlightInWBCmd.SelectAtLeastOnePartOrProduct"}},
      {"a node without PDM identity",
       {"Assembly/Bracket.1/Plate.1"},
       [&] { GlobPropertyManager.SetReferenceProperty(node("Bracket.1/Plate.1"), "ZRB_OBID", ""); },
       {"ZRBHighlightInWBCmd.PartsMustBeFromPdm"}},
      {"an embedded component part",
       {"Assembly/Bracket.1/Bolt.1"},
       [&] { GlobPropertyManager.SetReferenceProperty(node("Bracket.1/Bolt.1"), "ZRB_ISCOMPONENT", "1"); },
       {"ZRBHighlightInWBCmd.BBPartsCannotBeHighlighted"}},
      {"a relation missing on the way up",
       {"Assembly/Fixings.1"},
       [&] { GlobPropertyManager.SetInstanceProperty(root_, node("Fixings.1"), "ZRB_RELATION", ""); },
       {"ZRBHighlightInWBCmd.HighlightInWBFailed"}},
      {"the PDM cannot be started",
       {"Assembly/Bracket.2"},
       [] { SetVariable("ZRB_CONNECTPDM", "/nonexistent/pdmcl"); },
       {"ZRBAfx.ConnectFailed", "ZRBHighlightInWBCmd.HighlightInWBFailed"}},
      {"no window",
       {},
       [] {
         while (CADFrmWindow* window = CADFrmLayout::GetCurrentLayout().GetCurrentWindow())
           CADFrmLayout::GetCurrentLayout().CloseWindow(window);
       },
       {"ZRBHighlightInWBCmd.HighlightInWBFailed"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.selection);
    c.prepare();
    for (const std::string& box : c.boxes) ExpectBox(CADString(box), 1);
    ShowInPdm();
  }
  EXPECT_EQ(JournalActions(), Names{});
}

}  // namespace
