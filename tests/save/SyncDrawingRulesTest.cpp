// The synchronise rows of a drawing, of nodes in and beside black boxes and of representations, and the
// virtual root saved before the final update. Asserted on the row model and the rule reasons on the nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LoadedFromPdm.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBSyncRules.h"
#include "ZRBSynchronizeCmd.h"

namespace {

class SyncDrawingRulesTest : public save_test::LoadedAssemblyTest {
 public:
  void SetUp() override {
    LoadedAssemblyTest::SetUp();
    filled_ = Doc("Assembly.CADProduct");
    // Every request succeeds and answers nothing more: the rules and decisions come before any answer.
    SetShellAnswer([](const std::string& line) {
      ZRBObjectManager file;
      if (file.Read(RequestOf(line)) && file.GetObject("ROOT"))
        file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      return file.Write(RequestOf(line)) ? 0 : 1;
    });
  }
  Node Add(const Node& parent, CADDocument* document, const char* partNumber) {
    Node child;
    EXPECT_EQ(parent->AddExternalComponent(document, child), S_OK);
    child->GetReferenceProduct()->SetPartNumber(partNumber);
    return child;
  }
  Node AddPart(const Node& parent, const char* partNumber) {
    CADDocument* created = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", created), S_OK);
    return Add(parent, created, partNumber);
  }
  // Bracket (every instance) is a black box of the assembly, its children its items.
  void MakeBlackBox() {
    GlobPropertyManager.AddBlackBoxRoot(root_, GlobPropertyManager.GetProductFullPath(At("Bracket.1")));
    for (const CADBaseUnknown_var& item : At("Bracket.1")->GetChildren())
      GlobPropertyManager.AddBlackBoxItem(root_, GlobPropertyManager.GetProductFullPath(CADIProduct_var(item)));
  }
  // A new root above the assembly, filled instead of it: saved as the virtual root when it is the workbench.
  void Top(const char* partNumber, bool childDirty) {
    CADDocument* top = nullptr;
    Node root, assembly;
    EXPECT_EQ(CADDocumentServices::New("CADProduct", top), S_OK);
    ZRBPSNTreeUtil::GetRootProductFromDocument(top, &root);
    root->SetPartNumber(partNumber);
    EXPECT_EQ(root->AddExternalComponent(filled_, assembly), S_OK);
    filled_->SetDirty(childDirty ? 1 : 0);
    top->SetDirty(1);
    filled_ = top;
  }
  // The edit a case names; the node whose rule reason is then asserted (none for a drawing or a new root).
  Node Edit(std::string_view edit) {
    if (edit.starts_with("drawing")) {
      filled_ = session_->Open("Plate.CADDrawing");
      if (edit == "drawing known") GlobPropertyManager.SetFileProperty(filled_->StorageName(), "ZRB_OBID", "ID-DRW");
      return Node();
    }
    if (edit.starts_with("top"))
      return Top(edit == "top new" ? "NEWROOT" : "ZRB_Workbench", edit == "top dirty"), Node();
    if (edit == "beside") {
      GlobPropertyManager.AddBlackBoxRoot(At("Bracket.1"),
                                          GlobPropertyManager.GetProductFullPath(At("Bracket.1/Plate.1")));
      AddPart(At("Bracket.1"), "BESIDE");
      return At("Bracket.1");
    }
    if (edit == "rep") {
      session_->WriteFile("REP.vis", "vis bytes");  // a foreign file stands in for a vis
      const Node vis = Add(root_, session_->Open("REP.vis"), "REP");
      save_test::MarkLoaded(vis);
      GlobPropertyManager.SetInstanceProperty(root_, vis, "ZRB_INSTANCE_IN_ZRB", "1");
      ZRBCommandStates::AddOrigChildToProp(root_, vis);
      GlobPropertyManager.SetReferenceProperty(vis, "ZRB_REPRESENTATIONPATH", "/elsewhere/REP.vis");
      return vis;
    }
    MakeBlackBox();
    if (edit == "inside") AddPart(At("Bracket.1"), "INSIDE");
    if (edit == "removed") At("Bracket.1")->RemoveProduct(At("Bracket.1/Plate.1"));
    if (edit != "box gone") return At("Bracket.1");
    for (const char* name : {"Bracket.1", "Bracket.2"}) root_->RemoveProduct(At(name));
    return root_;
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

  CADDocument* filled_ = nullptr;
};

TEST_F(SyncDrawingRulesTest, RowDecisionsForDrawingsBlackBoxesAndRepresentations) {
  const std::string no = " / no / breaks a structure rule";
  const char* const noDrawings = "ZRB_DISABLE_CREATE_CADDRAWING";
  const char* const bbChanged = "ErrBlackBoxStructureChanged";
  const struct {
    const char* edit;     // see Edit()
    const char* setting;  // switched "ON" for the case
    const char* key;      // the edited node's rule, "" when it passes
    std::vector<std::string> rows;
    const char* shown = "";  // in the list's trace or, after the last row, in the command's
  } cases[] = {
      {"drawing known", noDrawings, "", {"Plate.CADDrawing: Update / yes / "}},
      {"drawing new", nullptr, "", {"Plate.CADDrawing: Create / yes / "}},
      {"drawing new",
       noDrawings,
       "",
       {"Plate.CADDrawing: Create" + no},
       "New drawings may not be created at this site."},
      {"inside",
       nullptr,
       bbChanged,
       {"Plate: Update" + no, "Bolt: Update" + no, "INSIDE: Create" + no, "Bracket: Update" + no,
        "Assembly: Update" + no}},
      {"removed", nullptr, bbChanged, {"Bolt: Update" + no, "Bracket: Update" + no, "Assembly: Update" + no}},
      {"beside", nullptr, "", {"BESIDE: Create / yes / ", "Bracket: Update, add children / yes / "}},
      {"box gone",
       nullptr,
       bbChanged,
       {"Bolt: Update" + no, "Fixings: Update" + no, "Assembly: Update, drop children" + no}},
      {"rep", "ZRB_ENABLE_CHECKREPRULE", "ErrCheckRepRule", {"REP: Update" + no, "Assembly: Update" + no}},
      {"top", "ZRB_ENABLE_VP_SAVE", "", {}, "ZRB: Saving virtual root CADProduct to xmap"},
      {"top dirty",
       "ZRB_ENABLE_VP_SAVE",
       "",
       {"Assembly: Update / yes / "},
       "ZRB: A direct child is dirty - not saving virtual root"},
      {"top new",
       "ZRB_ENABLE_VP_SAVE",
       "",
       {"NEWROOT: Create, add children / yes / "},
       "ZRB: Root product document is not a virtual root"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.edit) + (c.setting ? c.setting : ""));
    Restart();
    if (c.setting) SetVariable(c.setting, "ON");
    const Node node = Edit(c.edit);
    auto* command = new ZRBSynchronizeCmd();
    EXPECT_EQ(FillRows(*command), c.rows);
    EXPECT_EQ(node ? Ref(node, "ZRB_RULE_FAILED") : "", *c.key ? ZRBSyncRules::Reason(c.key).str() : "");
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
