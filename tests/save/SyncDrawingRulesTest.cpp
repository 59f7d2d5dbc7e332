// The synchronise rows of a drawing, of nodes in and beside black boxes and of representations, and the
// virtual root saved before the final update. Asserted on the row model and the rule reasons on the nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CommandFixture.h"
#include "LoadedFromPdm.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBSyncRules.h"
#include "ZRBSynchronizeCmd.h"

namespace {

using Node = CADIProduct_var;

class SyncDrawingRulesTest : public CommandFixture {
 public:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(session_->Directory()));
    root_ = save_test::OpenLoadedAssembly(*session_);
    ASSERT_TRUE(root_);
    filled_ = CADDocumentServices::GetDocumentInSession(session_->Path("Assembly.CADProduct"));
    // Every request succeeds and answers nothing more: the rules and decisions come before any answer.
    SetShellAnswer([](const std::string& line) {
      ZRBObjectManager file;
      const CADUnicodeString path(line.substr(line.find('\'') + 1, line.rfind('\'') - line.find('\'') - 1));
      if (file.Read(path) && file.GetObject("ROOT")) file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      return file.Write(path) ? 0 : 1;
    });
  }
  void TearDown() override {
    root_ = nullptr;
    CADDocumentServices::ResetSession();
    session_.reset();
    CommandFixture::TearDown();
  }
  Node At(std::string_view path) { return SampleSession::Node(root_, path); }
  Node Add(const Node& parent, const char* type, const char* partNumber) {
    CADDocument* created = nullptr;
    if (type == std::string("vis")) {  // a foreign file stands in for a vis
      session_->WriteFile(std::string(partNumber) + ".vis", "vis bytes");
      created = session_->Open(std::string(partNumber) + ".vis");
    } else {
      EXPECT_EQ(CADDocumentServices::New(type, created), S_OK);
    }
    Node child;
    EXPECT_EQ(parent->AddExternalComponent(created, child), S_OK);
    child->GetReferenceProduct()->SetPartNumber(partNumber);
    return child;
  }
  // Bracket (every instance) is a black box of the assembly, its children its items.
  void MakeBlackBox() {
    GlobPropertyManager.AddBlackBoxRoot(root_, GlobPropertyManager.GetProductFullPath(At("Bracket.1")));
    for (const CADBaseUnknown_var& item : At("Bracket.1")->GetChildren())
      GlobPropertyManager.AddBlackBoxItem(root_, GlobPropertyManager.GetProductFullPath(CADIProduct_var(item)));
  }
  // "name: operation / execute / result" per row as the dialog shows them; a row repeated for another instance
  // of the same part is listed once.
  std::vector<std::string> FillRows(ZRBSynchronizeCmd& command) {
    const bool drawing = filled_->GetType() == "CADDrawing";
    EXPECT_EQ(
        drawing ? command.UpdateDrawingDocumentInteractive(filled_) : command.UpdateProductDocumentInteractive(filled_),
        1);
    std::vector<std::string> rows;
    const ZRBSyncJobList& jobs = command.GetJobs();
    for (int i = 0; i < jobs.Size(); ++i) {
      const ZRBSyncJob& job = jobs.At(i);
      const std::string name = job.name.str();
      const std::string row = name.substr(name.find_last_of('/') + 1) + ": " + ZRBSyncJobTexts::Operation(job).str() +
                              " / " + ZRBSyncJobTexts::Execute(job.execute).str() + " / " +
                              ZRBSyncJobTexts::Result(job.result).str();
      if (std::find(rows.begin(), rows.end(), row) == rows.end()) rows.push_back(row);
    }
    return rows;
  }

  std::unique_ptr<SampleSession> session_;
  Node root_;
  CADDocument* filled_ = nullptr;
};

TEST_F(SyncDrawingRulesTest, RowDecisionsForDrawingsBlackBoxesAndRepresentations) {
  const std::string refused = " / no / breaks a structure rule";
  struct Case {
    const char* name;
    const char* setting;                              // switched "ON" for the case
    std::function<Node(SyncDrawingRulesTest&)> edit;  // the node whose rule is asserted (none for a drawing)
    const char* key;                                  // its rule, "" when it passes
    std::vector<std::string> rows;
    const char* shown = "";  // in the list's trace or, after the last row, in the command's
  };
  // A new root above the unchanged assembly, saved as the virtual root when it is the workbench.
  const auto top = [](const char* partNumber, bool childDirty) {
    return [=](SyncDrawingRulesTest& t) {
      CADDocument* top = nullptr;
      Node root, assembly;
      EXPECT_EQ(CADDocumentServices::New("CADProduct", top), S_OK);
      ZRBPSNTreeUtil::GetRootProductFromDocument(top, &root);
      root->SetPartNumber(partNumber);
      EXPECT_EQ(root->AddExternalComponent(t.filled_, assembly), S_OK);
      t.filled_->SetDirty(childDirty ? 1 : 0);
      top->SetDirty(1);
      t.filled_ = top;
      return Node();
    };
  };
  const auto drawing = [](bool known) {
    return [known](SyncDrawingRulesTest& t) {
      t.filled_ = t.session_->Open("Plate.CADDrawing");
      if (known) GlobPropertyManager.SetFileProperty(t.filled_->StorageName(), "ZRB_OBID", "ID-DRW");
      return Node();
    };
  };
  const Case cases[] = {
      {"known drawing", "ZRB_DISABLE_CREATE_CADDRAWING", drawing(true), "", {"Plate.CADDrawing: Update / yes / "}},
      {"new drawing", nullptr, drawing(false), "", {"Plate.CADDrawing: Create / yes / "}},
      {"new drawing where the site creates none",
       "ZRB_DISABLE_CREATE_CADDRAWING",
       drawing(false),
       "",
       {"Plate.CADDrawing: Create" + refused},
       "New drawings may not be created at this site."},
      {"part added inside a black box",
       nullptr,
       [](SyncDrawingRulesTest& t) {
         t.MakeBlackBox();
         t.Add(t.At("Bracket.1"), "CADPart", "INSIDE");
         return t.At("Bracket.1");
       },
       "ErrBlackBoxStructureChanged",
       {"Plate: Update" + refused, "Bolt: Update" + refused, "INSIDE: Create" + refused, "Bracket: Update" + refused,
        "Assembly: Update" + refused}},
      {"item removed from a black box",
       nullptr,
       [](SyncDrawingRulesTest& t) {
         t.MakeBlackBox();
         t.At("Bracket.1")->RemoveProduct(t.At("Bracket.1/Plate.1"));
         return t.At("Bracket.1");
       },
       "ErrBlackBoxStructureChanged",
       {"Bolt: Update" + refused, "Bracket: Update" + refused, "Assembly: Update" + refused}},
      {"part added beside a black box",
       nullptr,
       [](SyncDrawingRulesTest& t) {
         const Node bracket = t.At("Bracket.1");
         GlobPropertyManager.AddBlackBoxRoot(bracket,
                                             GlobPropertyManager.GetProductFullPath(t.At("Bracket.1/Plate.1")));
         t.Add(bracket, "CADPart", "BESIDE");
         return bracket;
       },
       "",
       {"BESIDE: Create / yes / ", "Bracket: Update, add children / yes / "}},
      {"black box taken away",
       nullptr,
       [](SyncDrawingRulesTest& t) {
         t.MakeBlackBox();
         for (const char* name : {"Bracket.1", "Bracket.2"}) t.root_->RemoveProduct(t.At(name));
         return t.root_;
       },
       "ErrBlackBoxStructureChanged",
       {"Bolt: Update" + refused, "Fixings: Update" + refused, "Assembly: Update, drop children" + refused}},
      {"representation not where its path says",
       "ZRB_ENABLE_CHECKREPRULE",
       [](SyncDrawingRulesTest& t) {
         const Node vis = t.Add(t.root_, "vis", "REP");
         save_test::MarkLoaded(vis);
         GlobPropertyManager.SetInstanceProperty(t.root_, vis, "ZRB_INSTANCE_IN_ZRB", "1");
         ZRBCommandStates::AddOrigChildToProp(t.root_, vis);
         GlobPropertyManager.SetReferenceProperty(vis, "ZRB_REPRESENTATIONPATH", "/elsewhere/REP.vis");
         return vis;
       },
       "ErrCheckRepRule",
       {"REP: Update" + refused, "Assembly: Update" + refused}},
      {"workbench root",
       "ZRB_ENABLE_VP_SAVE",
       top("ZRB_Workbench", false),
       "",
       {},
       "ZRB: Saving virtual root CADProduct to xmap"},
      {"workbench root with a modified child",
       "ZRB_ENABLE_VP_SAVE",
       top("ZRB_Workbench", true),
       "",
       {"Assembly: Update / yes / "},
       "ZRB: A direct child is dirty - not saving virtual root"},
      {"new root that is no workbench",
       "ZRB_ENABLE_VP_SAVE",
       top("NEWROOT", false),
       "",
       {"NEWROOT: Create, add children / yes / "},
       "ZRB: Root product document is not a virtual root"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    if (c.setting) SetVariable(c.setting, "ON");
    const Node node = c.edit(*this);
    auto* command = new ZRBSynchronizeCmd();
    EXPECT_EQ(FillRows(*command), c.rows);
    if (node) {
      EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(node, "ZRB_RULE_FAILED"),
                *c.key ? ZRBSyncRules::Reason(c.key) : CADUnicodeString());
    }
    CaptureTrace();
    CADListValCADUnicodeString messages;
    if (c.setting && c.setting == std::string("ZRB_ENABLE_VP_SAVE")) command->Finish(false, messages);
    std::string shown = Trace();
    for (const CADUnicodeString& line : command->GetJobs().Trace()) shown += line.str() + "\n";
    EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
    command->Release();
    if (c.setting) SetVariable(c.setting, nullptr);
  }
}

}  // namespace
