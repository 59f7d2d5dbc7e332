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
  // Loads the sample assembly and selects `path` below its root ("Fixings.1", "Bracket.1/Plate.1").
  CADIProduct_var LoadAndSelect(const char* path) {
    if (!(root_ = LoadIntoCad("Assembly"))) return nullptr;
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
  // The PDM user ends the dialog; the status word reaches the waiting command at its next poll.
  void PdmUser(const std::string& dialogArgs) {
    PdmLine("dialog " + dialogArgs);
    Loop().AdvanceBy(1000);
    Loop().RunPending();
  }
  static ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

  CADIProduct_var root_;
};

TEST_F(ReadEntryPointsEndToEndTest, TheReadFunctionReadsAndReportsSuccessWhateverTheOutcome) {
  Pdm("load-into-cad", "--no-start", "Bolt");
  EXPECT_EQ(ZRBReadApi::ZRBRead(), S_OK);
  Loop().RunPending();
  EXPECT_EQ(JournalActions(), Names{"x3WriteZRBFile"});
  EXPECT_TRUE(InSession("Bolt.CADPart"));

  PdmFault("x3WriteZRBFile", "--code 0");
  EXPECT_EQ(ZRBReadApi::ZRBRead(), S_OK) << "the read's own messages are the only report";
  Loop().RunPending();
  EXPECT_EQ(CADCommand::LiveCount(), 0u);
}

TEST_F(ReadEntryPointsEndToEndTest, ReadMarkedDeliversTheMarkedItems) {
  Pdm("load-into-cad", "--no-start", "Plate");
  Pdm("mark", "Bolt");
  Start(new ZRBReadMarkedCmd());
  Loop().RunPending();
  ASSERT_EQ(JournalActions(), Names{"x3WriteZRBFile"});
  EXPECT_NE(JournalRequest(1).find("{MARKEDFLAG} ON\n"), std::string::npos) << JournalRequest(1);
  EXPECT_TRUE(InSession("Bolt.CADPart"));
  EXPECT_FALSE(InSession("Plate.CADPart")) << "the chosen items are not the marked ones";
}

TEST_F(ReadEntryPointsEndToEndTest, ThePdmStructureGoesBelowTheSelectedProduct) {
  WriteFile(XmapFile("Stale.CADPart"), "x");
  CADIProduct_var fixings = LoadAndSelect("Fixings.1");
  ASSERT_TRUE(fixings);
  ZRBUsePdmStructureCmd* command = Start(new ZRBUsePdmStructureCmd());
  ASSERT_EQ(JournalActions(), Names{"x3UsePdmStructure"});
  EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
  const Names aside = Backups();
  EXPECT_NE(std::find(aside.begin(), aside.end(), "ZRBBACKUP_Stale.CADPart"), aside.end())
      << "stale files stay aside while the PDM works";
  EXPECT_TRUE(Exists(XmapFile("xmapfiles.zrb")));

  PdmUser("complete --choose Plate");
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
  const struct {
    const char* select;    // the node selected at the start
    const char* pdmUser;   // the PDM user's dialog action
    bool changeSelection;  // two products selected while the PDM's dialog was up
    const char* box;
  } cases[] = {
      {"Fixings.1", "cancel", false, "ZRBUsePdmStructureCmd.UsePdmStructureCanceled"},
      {"Bracket.1", "complete --choose Bracket", false, "ZRBUsePdmStructureCmd.CycleDetected"},  // on the path up
      {"Fixings.1", "complete --choose Plate", true, "ZRBUsePdmStructureCmd.OnlyOneProduct"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.box);
    WriteFile(XmapFile("Stale.CADPart"), "x");
    CADIProduct_var node = LoadAndSelect(c.select);
    ASSERT_TRUE(node);
    const std::string before = SampleSession::ChildNames(node);
    Start(new ZRBUsePdmStructureCmd());
    if (c.changeSelection) Select({node, SampleSession::Node(root_, "Bracket.2")});
    ExpectBox(c.box, CADDlgNfyAnswerOK);
    PdmUser(c.pdmUser);
    EXPECT_EQ(SampleSession::ChildNames(node), before) << "nothing loaded";
    EXPECT_EQ(Backups(), Names{});
    EXPECT_TRUE(Exists(XmapFile("Stale.CADPart")));
    EXPECT_TRUE(Registry().IsEmpty());
    EXPECT_EQ(JournalActions(), Names{"x3UsePdmStructure"});
  }
}

}  // namespace
