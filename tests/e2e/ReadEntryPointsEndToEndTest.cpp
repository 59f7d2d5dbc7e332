// The read's other ways in against the reference PDM: the exported read function, the read of the items marked
// in the PDM, and the use-PDM-structure round trip that puts the PDM's structure below the selected product.
#include <algorithm>
#include <string>
#include <vector>

#include "CADCSO.h"
#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBAfx.h"
#include "ZRBGlobalProperties.h"
#include "ZRBModComm.h"
#include "ZRBReadApi.h"
#include "ZRBReadMarkedCmd.h"
#include "ZRBUsePdmStructureCmd.h"

namespace {
using Names = std::vector<std::string>;

class ReadEntryPointsEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
  }
  static bool InSession(const std::string& path) {
    return CADDocumentServices::GetDocumentInSession(CADUnicodeString(path)) != nullptr;
  }
  // Loads the sample assembly and selects `path` below its root ("Fixings.1", "Bracket.1/Plate.1").
  CADIProduct_var LoadAndSelect(const char* path) {
    Pdm("load-into-cad", "Assembly");
    Loop().RunPending();
    CADFrmEditor* editor = CADFrmEditor::GetCurrentEditor();
    EXPECT_NE(editor, nullptr);
    if (!editor) return nullptr;
    root_ = editor->GetDocument()->GetRootProduct();
    CADIProduct_var node = SampleSession::Node(root_, path);
    Select({node});
    Pdm("journal", "clear");
    return node;
  }
  static void Select(const std::vector<CADIProduct_var>& nodes) {
    CADCSO* selection = CADFrmEditor::GetCurrentEditor()->GetCSO();
    selection->Empty();
    for (const CADIProduct_var& node : nodes) selection->AddElement(CADPathElement(CADBaseUnknown_var(node)));
  }
  ZRBUsePdmStructureCmd* StartUsePdmStructure() {
    auto* command = new ZRBUsePdmStructureCmd();
    command->Activate(nullptr, nullptr);
    return command;
  }
  // The PDM user ends the dialog; the status word reaches the waiting command at its next poll.
  void PdmUser(const std::vector<std::string>& dialogArgs) {
    std::vector<std::string> args{"dialog"};
    args.insert(args.end(), dialogArgs.begin(), dialogArgs.end());
    PdmArgs(args);
    Loop().AdvanceBy(1000);
    Loop().RunPending();
  }
  Names Backups() const {
    Names backups;
    for (const std::string& name : XmapFileNames())
      if (name.starts_with("ZRBBACKUP_")) backups.push_back(name);
    return backups;
  }
  static ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

  CADIProduct_var root_;
};

TEST_F(ReadEntryPointsEndToEndTest, TheReadFunctionReadsAndReportsSuccessWhateverTheOutcome) {
  Pdm("load-into-cad", "--no-start", "Bolt");
  EXPECT_EQ(ZRBReadApi::ZRBRead(), S_OK);
  Loop().RunPending();
  EXPECT_EQ(JournalActions(), Names{"x3WriteZRBFile"});
  EXPECT_TRUE(InSession(XmapFile("Bolt.CADPart")));

  Pdm("fault", "set", "x3WriteZRBFile", "--code", "0");
  EXPECT_EQ(ZRBReadApi::ZRBRead(), S_OK) << "the read's own messages are the only report";
  Loop().RunPending();
  EXPECT_EQ(CADCommand::LiveCount(), 0u);
}

TEST_F(ReadEntryPointsEndToEndTest, ReadMarkedDeliversTheMarkedItems) {
  Pdm("load-into-cad", "--no-start", "Plate");
  Pdm("mark", "Bolt");
  (new ZRBReadMarkedCmd())->Activate(nullptr, nullptr);
  Loop().RunPending();
  ASSERT_EQ(JournalActions(), Names{"x3WriteZRBFile"});
  EXPECT_NE(JournalRequest(1).find("{MARKEDFLAG} ON\n"), std::string::npos) << JournalRequest(1);
  EXPECT_TRUE(InSession(XmapFile("Bolt.CADPart")));
  EXPECT_FALSE(InSession(XmapFile("Plate.CADPart"))) << "the chosen items are not the marked ones";
}

TEST_F(ReadEntryPointsEndToEndTest, ThePdmStructureGoesBelowTheSelectedProduct) {
  WriteFile(XmapFile("Stale.CADPart"), "x");
  CADIProduct_var fixings = LoadAndSelect("Fixings.1");
  ASSERT_TRUE(fixings);
  ZRBUsePdmStructureCmd* command = StartUsePdmStructure();
  ASSERT_EQ(JournalActions(), Names{"x3UsePdmStructure"});
  EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
  const Names aside = Backups();
  EXPECT_NE(std::find(aside.begin(), aside.end(), "ZRBBACKUP_Stale.CADPart"), aside.end())
      << "stale files stay aside while the PDM works";
  EXPECT_TRUE(Exists(XmapFile("xmapfiles.zrb")));

  PdmUser({"complete", "--choose", "Plate"});
  EXPECT_NE(SampleSession::ChildNames(fixings).find("Plate"), std::string::npos) << SampleSession::ChildNames(fixings);
  EXPECT_EQ(Backups(), Names{});
  EXPECT_TRUE(Registry().IsEmpty());
  EXPECT_EQ(CADCommand::LiveCount(), 0u);
  EXPECT_EQ(JournalActions(), Names{"x3UsePdmStructure"}) << "no cancel word after the PDM closed its dialog";

  // A second end step does nothing.
  auto* again = new ZRBUsePdmStructureCmd();
  ExpectBox("ZRBUsePdmStructureCmd.UsePdmStructureCanceled", CADDlgNfyAnswerOK);
  EXPECT_EQ(again->EndUsePdmStructureCmd("PDM_CANCEL"), 1);
  EXPECT_EQ(again->EndUsePdmStructureCmd("PDM_USEPDMSTRUCTURE_READY"), 0);
  again->RequestDelayedDestruction();
  Loop().RunPending();
}

TEST_F(ReadEntryPointsEndToEndTest, TheEndStepRefusesOrLoadsNothingWhenItMust) {
  struct Case {
    const char* name;
    const char* select;                // the node selected at the start
    std::vector<std::string> pdmUser;  // the PDM user's dialog action
    bool changeSelection;              // two products selected while the PDM's dialog was up
    const char* box;
  };
  const std::vector<Case> cases = {
      {"the PDM user cancels", "Fixings.1", {"cancel"}, false, "ZRBUsePdmStructureCmd.UsePdmStructureCanceled"},
      {"a part number on the path to the root",
       "Bracket.1",
       {"complete", "--choose", "Bracket"},
       false,
       "ZRBUsePdmStructureCmd.CycleDetected"},
      {"selection changed before the end step",
       "Fixings.1",
       {"complete", "--choose", "Plate"},
       true,
       "ZRBUsePdmStructureCmd.OnlyOneProduct"},
  };
  for (const Case& c : cases) {
    WriteFile(XmapFile("Stale.CADPart"), "x");
    CADIProduct_var node = LoadAndSelect(c.select);
    ASSERT_TRUE(node) << c.name;
    const std::string before = SampleSession::ChildNames(node);
    StartUsePdmStructure();
    if (c.changeSelection) Select({node, SampleSession::Node(root_, "Bracket.2")});
    ExpectBox(c.box, CADDlgNfyAnswerOK);
    PdmUser(c.pdmUser);
    EXPECT_EQ(SampleSession::ChildNames(node), before) << c.name << ": nothing loaded";
    EXPECT_EQ(Backups(), Names{}) << c.name;
    EXPECT_TRUE(Exists(XmapFile("Stale.CADPart"))) << c.name;
    EXPECT_TRUE(Registry().IsEmpty()) << c.name;
    EXPECT_EQ(JournalActions(), Names{"x3UsePdmStructure"}) << c.name;
  }
}

}  // namespace
