// The add-temporary command end to end: the module calls the reference PDM through the real shell, the PDM user
// completes or cancels the PDM's dialog with pdmsim, and the status word comes back through the automation
// bridge. Assertions go to the PDM's journal, its copies of the requests and the session's documents.
#include <filesystem>
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "CADDlgReaper.h"
#include "CADDocumentServices.h"
#include "CADListValCADBaseUnknown.h"
#include "PdmEndToEndFixture.h"
#include "ZRBAddTempCmd.h"
#include "ZRBCache.h"
#include "ZRBGlobalProperties.h"
#include "ZRBModComm.h"

namespace {

using Actions = std::vector<std::string>;

class AddTempEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
  }

  ZRBAddTempCmd* StartAddTemp() { return Start(new ZRBAddTempCmd()); }
  static CADString Status() {
    CADString status;
    ZRBModComm().GetStatus(status);
    return status;
  }
  static ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }
  static int DocumentCount() { return CADDocumentServices::GetListOfDocuments().Size(); }
  // What the PDM side may leave during the operation.
  void FakeBackupOfThePdm() {
    std::filesystem::create_directories(XmapFile("temp.zrb"));
    WriteFile(XmapFile("temp.zrb/Bolt.CADPart.bak"), "backup");
  }
  // Half of the answer, ending inside a line: what a PDM that died while writing would leave.
  void CutOffAnswer() {
    std::string answer = ReadFile(XmapFile("atfile.zrb"));
    answer.resize(answer.size() / 2);
    while (!answer.empty() && answer.back() == '\n') answer.pop_back();
    WriteFile(XmapFile("atfile.zrb"), answer);
  }
};

TEST_F(AddTempEndToEndTest, ThePdmUserCompletesTheDialogAndThePartsArrive) {
  SetVariable("ZRB_ADDTEMP_PRAEFIX1", "AT");
  SetVariable("ZRB_ADDTEMP_PRAEFIX2", "_CAD");
  ZRBAddTempCmd* command = StartAddTemp();
  ASSERT_EQ(JournalActions(), Actions{"x3AddTempCad"});
  EXPECT_EQ(JournalRequest(1),
            "@ROOT\n{ACTION_SUCCESS} 0\n\n@COMMAND\n{EXMAP} " + Xmap() + "\n{TMP_PRAEFIX} AT0_CAD\n\n");
  EXPECT_EQ(Loop().PendingTimeOuts(), 1u);
  EXPECT_EQ(Loop().PendingTimeOuts(command), 1u);
  EXPECT_EQ(Status(), "NO_STATUS");

  Loop().AdvanceBy(3000);
  EXPECT_EQ(JournalActions(), Actions{"x3AddTempCad"}) << "waiting asks the PDM nothing";
  EXPECT_EQ(Loop().PendingTimeOuts(command), 1u);
  EXPECT_EQ(DocumentCount(), 0);

  FakeBackupOfThePdm();
  Pdm("dialog", "complete", "--choose", "Bolt");
  Loop().AdvanceBy(1000);
  Loop().RunPending();
  EXPECT_TRUE(InSession("Bolt.CADPart"));
  ZRBXmapManager* content = GlobZRBCache.GetXmapManager();
  ASSERT_NE(content, nullptr);
  EXPECT_EQ(content->FindByFileName("Bolt.CADPart"), nullptr) << "a temporary part is no cached PDM document";
  EXPECT_EQ(GlobZRBCache.GetTempMode(), 0);
  EXPECT_FALSE(Exists(XmapFile("temp.zrb")));
  EXPECT_TRUE(Registry().IsEmpty());
  EXPECT_EQ(CADCommand::LiveCount(), 0u) << "the add-temporary, its read and the dummy are gone";
  EXPECT_FALSE(Dialogs().LastMessageCentre().found) << "a silent success shows nothing";
  EXPECT_EQ(JournalActions(), Actions{"x3AddTempCad"}) << "no cancel word after the PDM closed its dialog";

  StartAddTemp();
  ASSERT_EQ(JournalActions(), (Actions{"x3AddTempCad", "x3AddTempCad"}));
  EXPECT_NE(JournalRequest(2).find("{TMP_PRAEFIX} AT1_CAD\n"), std::string::npos) << JournalRequest(2);
  ExpectBox("ZRBAddTempCmd.AddTempCanceled", CADDlgNfyAnswerOK);
  Pdm("dialog", "cancel");
  Loop().AdvanceBy(1000);
}

TEST_F(AddTempEndToEndTest, TheAnswersOfBothStepsDecideWhatTheUserSees) {
  struct Case {
    const char* name;
    bool firstStepFails;
    const char* pdmUser;  // the PDM user's dialog action; "": none (the dialog never opened)
    bool answerCutOff;    // the answer file ends in the middle of a line
    const char* box;      // the one message box, if any
    int centreVariant;    // 0 none, 1 success, 2 failure, 3 the other variant of either
    const char* centreStatus;
    bool built;
  };
  const std::vector<Case> cases = {
      {"first step fails", true, "", false, "ZRBAddTempCmd.AddTempFailed", 0, nullptr, false},
      {"the PDM user cancels", false, "cancel", false, "ZRBAddTempCmd.AddTempCanceled", 0, nullptr, false},
      {"second step fails", false, "complete --choose Bolt --code 0", false, "ZRBAddTempCmd.AddTempFailed", 0, nullptr,
       false},
      {"3: success with remarks", false, "complete --choose Bolt --code 3 --stats released", false, nullptr, 3,
       "AddTempOk", true},
      {"3: the build fails", false, "complete --choose Bolt --code 3", true, nullptr, 3, "AddTempFailed", false},
      {"1: the build fails", false, "complete --choose Bolt", true, nullptr, 2, "AddTempFailed", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t callsBefore = JournalActions().size();
    if (c.firstStepFails) PdmFault("x3AddTempCad", "--times 1 --code 0");
    if (c.box) ExpectBox(c.box, CADDlgNfyAnswerOK);
    const int documentsBefore = DocumentCount();
    StartAddTemp();
    if (*c.pdmUser) {
      PdmLine(std::string("dialog ") + c.pdmUser);
      if (c.answerCutOff) CutOffAnswer();
      Loop().AdvanceBy(1000);
    }
    Loop().RunPending();
    const Actions calls = JournalActions();
    EXPECT_EQ(Actions(calls.begin() + static_cast<long>(callsBefore), calls.end()), Actions{"x3AddTempCad"});
    EXPECT_EQ(InSession("Bolt.CADPart"), c.built);
    if (!c.built) {
      EXPECT_EQ(DocumentCount(), documentsBefore) << "the session is unchanged";
    }
    const MessageCentreView centre = Dialogs().LastMessageCentre();
    EXPECT_EQ(centre.found, c.centreVariant != 0);
    if (c.centreVariant) {
      EXPECT_EQ(centre.variant, c.centreVariant);
      EXPECT_EQ(centre.status.str(), MessageText(std::string("ZRBAddTempCmd.") + c.centreStatus));
    }
    EXPECT_TRUE(Registry().IsEmpty());
    CADDlgReaper::Flush();
    CADDocumentServices::ResetSession();
  }
}

TEST_F(AddTempEndToEndTest, AReadStartedByThePdmAbandonsTheWaitingAddTemporaryFirst) {
  StartAddTemp();
  Loop().AdvanceBy(2000);
  Pdm("load-into-cad", "Bolt");
  Loop().RunPending();
  EXPECT_EQ(JournalActions(), (Actions{"x3AddTempCad", "x3CancelCadAddTemp", "x3WriteZRBFile"}));
  EXPECT_TRUE(Registry().IsEmpty());
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
  CADDlgReaper::Flush();
  EXPECT_EQ(CADCommand::LiveCount(), 0u) << "the abandoned command is gone";
  EXPECT_TRUE(InSession("Bolt.CADPart")) << "the read itself went ahead";
}

}  // namespace
