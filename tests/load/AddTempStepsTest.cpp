// The add-temporary command against a scripted PDM (the recording shell answers the request file the way the
// PDM's first step would, the test plays the PDM user through the status word): every way its start can fail,
// answers no reference PDM gives, the end step's hand-over, the PDM side's backups and the SAM client.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "CommandFixture.h"
#include "ScopedEnv.h"
#include "XmapScratchDirectory.h"
#include "ZRBAddTempCmd.h"
#include "ZRBAfx.h"
#include "ZRBGlobalProperties.h"
#include "ZRBModComm.h"
#include "ZRBReadCmd.h"
#include "ZRBSamAddTempCmd.h"
#include "ZRBSamReadCmd.h"

namespace {

using Lines = std::vector<std::string>;

void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class AddTempStepsTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("ZRBXMAP", xmap.Root().c_str());
    // The PDM's first step: the request is answered with `firstStepAnswer`.
    SetShellAnswer([this](const std::string& line) {
      if (line.find("x3AddTempCad") == std::string::npos) return 0;
      if (!firstStepAnswer.empty()) WriteFile(RequestPath(), firstStepAnswer);
      return shellResult;
    });
  }

  std::string RequestPath() const { return xmap.Path("atfile.zrb"); }
  std::string AddTempLine() const { return "pdmcl -b -- PdmSessn x3AddTempCad '" + RequestPath() + "'"; }

  ZRBAddTempCmd* Start(ZRBAddTempCmd* command = nullptr) {
    if (!command) command = new ZRBAddTempCmd();
    command->Activate(nullptr, nullptr);
    return command;
  }
  // The PDM user ends the dialog: the answer is written first, then the status word is set.
  void PdmUserEnds(const char* status, const std::string& answer = {}) {
    if (!answer.empty()) WriteFile(RequestPath(), answer);
    ZRBModComm().SetStatus(status);
    Loop().AdvanceBy(1000);
  }
  static ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

 public:  // what the table cases arrange
  XmapScratchDirectory xmap;
  std::string firstStepAnswer = "@ROOT\n{ACTION_SUCCESS} 2\n\n";
  int shellResult = 0;
};

TEST_F(AddTempStepsTest, EveryFailedStartShowsItsReasonThenTheFailureAndLeavesNothingWaiting) {
  struct Case {
    const char* name;
    std::function<void(AddTempStepsTest&)> arrange;
    Lines boxes;
    bool pdmCalled;
  };
  const std::vector<Case> cases = {
      {"first step answers 1",
       [](AddTempStepsTest& t) { t.firstStepAnswer = "@ROOT\n{ACTION_SUCCESS} 1\n\n"; },
       {"ZRBAddTempCmd.AddTempFailed"},
       true},
      {"answer without ROOT",
       [](AddTempStepsTest& t) { t.firstStepAnswer = "@COMMAND\n{EXMAP} x\n\n"; },
       {"ZRBAddTempCmd.AddTempFailed"},
       true},
      {"answer is no exchange file",
       [](AddTempStepsTest& t) { t.firstStepAnswer = "garbage\n{ACTION_SUCCESS} 2\n"; },
       {"ZRBAddTempCmd.AddTempFailed"},
       true},
      {"the PDM command cannot be run",
       [](AddTempStepsTest& t) {
         t.shellResult = -1;
         t.firstStepAnswer.clear();
       },
       {"ZRBAfx.ConnectFailed", "ZRBAddTempCmd.AddTempFailed"},
       true},
      {"old request cannot be deleted",
       [](AddTempStepsTest& t) {
         std::filesystem::remove(t.xmap.Path("atfile.zrb"));
         t.xmap.Write("atfile.zrb/keep", "a directory in the request file's place");
       },
       {"ZRBAddTempCmd.NoFileAccess", "ZRBAddTempCmd.AddTempFailed"},
       false},
      {"request cannot be written",
       [](AddTempStepsTest& t) { SetVariable("ZRBXMAP", t.xmap.Write("not-a-directory").c_str()); },
       {"ZRBAddTempCmd.NoFileAccess", "ZRBAddTempCmd.AddTempFailed"},
       false},
      {"no exchange map",
       [](AddTempStepsTest&) { SetVariable("ZRBXMAP", nullptr); },
       {"ZRBAddTempCmd.NoExchangeMap", "ZRBAddTempCmd.AddTempFailed"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearShellLines();
    firstStepAnswer = "@ROOT\n{ACTION_SUCCESS} 2\n\n";
    shellResult = 0;
    SetVariable("ZRBXMAP", xmap.Root().c_str());
    c.arrange(*this);
    for (const std::string& box : c.boxes) ExpectBox(box.c_str(), CADDlgNfyAnswerOK);

    ZRBAddTempCmd* command = Start();
    EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Ended);
    EXPECT_EQ(ShellLines().size(), c.pdmCalled ? 1u : 0u);
    EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
    EXPECT_TRUE(Registry().IsEmpty());
    Loop().RunPending();
    EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBMessageDialog")) << "no message centre for a start that failed";
  }
  EXPECT_TRUE(xmap.Exists("atfile.zrb/keep")) << "what could not be replaced is kept";
}

TEST_F(AddTempStepsTest, AReadyStatusWithoutAUsableAnswerShowsTheFailure) {
  struct Case {
    const char* name;
    const char* status;
    std::string answer;    // written by the PDM user before the status ("" keeps the first step's)
    bool exchangeMapGone;  // "ZRBXMAP" is unset while the PDM's dialog is up
    const char* box;
  };
  const std::string goodAnswer = "@ROOT\n{ACTION_SUCCESS} 1\n\n";
  XmapScratchDirectory elsewhere;
  const std::vector<Case> cases = {
      {"first step's answer left in place", "PDM_ADDTEMP_READY", "", false, "ZRBAddTempCmd.AddTempFailed"},
      {"ready without ROOT", "PDM_ADDTEMP_READY", "@COMMAND\n{EXMAP} x\n\n", false, "ZRBAddTempCmd.AddTempFailed"},
      {"exchange map gone", "PDM_ADDTEMP_READY", goodAnswer, true, "ZRBAddTempCmd.AddTempFailed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnv env;
    ClearShellLines();
    SetVariable("ZRBXMAP", xmap.Root().c_str());
    ZRBAddTempCmd* command = Start();
    ASSERT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
    ExpectBox(c.box, CADDlgNfyAnswerOK);
    if (c.exchangeMapGone) {
      WriteFile(RequestPath(), c.answer);
      SetVariable("ZRBXMAP", nullptr);
      // What the temporary directory holds is nobody's answer and nobody's backups.
      env.Set("TMPDIR", elsewhere.Root().c_str());
      elsewhere.Write("atfile.zrb", c.answer);
      elsewhere.Write("temp.zrb/keep", "not ours");
    }
    PdmUserEnds(c.status, c.exchangeMapGone ? std::string() : c.answer);
    if (c.exchangeMapGone) {
      EXPECT_TRUE(elsewhere.Exists("temp.zrb/keep"));
    }
    EXPECT_EQ(ShellLines(), Lines{AddTempLine()}) << "no cancel word once the PDM has ended its dialog";
    EXPECT_TRUE(Registry().IsEmpty());
    EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
    Loop().RunPending();
  }
}

// A command whose read runs the integrity check every command runs at its start.
class AddTempWithCheckingRead : public ZRBAddTempCmd {
 public:
  ZRBReadCmd* CreateReadCmd() override {
    CheckIntegrity(0);
    return nullptr;
  }
};

TEST_F(AddTempStepsTest, TheEndStepIsNoLongerTheWaitingCommandSoItsReadSendsNoCancelWord) {
  Start(new AddTempWithCheckingRead());
  PdmUserEnds("PDM_ADDTEMP_READY", "@ROOT\n{ACTION_SUCCESS} 1\n\n");
  EXPECT_EQ(ShellLines(), Lines{AddTempLine()});
  EXPECT_TRUE(Registry().IsEmpty());
}

TEST_F(AddTempStepsTest, BackupsGoWithoutFollowingLinksOutOfTheExchangeMap) {
  XmapScratchDirectory outside;
  outside.Write("precious/keep.txt", "not the exchange map's");
  struct Case {
    const char* name;
    std::function<void()> arrange;
  };
  const std::vector<Case> cases = {
      {"files, a subdirectory and links inside",
       [&] {
         xmap.Write("temp.zrb/Bolt.CADPart.bak", "backup");
         xmap.Write("temp.zrb/deeper/Plate.CADPart.bak", "backup");
         xmap.Symlink("temp.zrb/to-outside-dir", outside.Path("precious"));
         xmap.Symlink("temp.zrb/deeper/to-outside-file", outside.Path("precious/keep.txt"));
       }},
      {"the directory itself is a link", [&] { xmap.Symlink("temp.zrb", outside.Path("precious")); }},
      {"no backups were made", [] {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    Start();
    PdmUserEnds("PDM_ADDTEMP_READY", "@ROOT\n{ACTION_SUCCESS} 1\n\n");
    Loop().RunPending();
    EXPECT_FALSE(xmap.Exists("temp.zrb"));
    EXPECT_EQ(outside.Read("precious/keep.txt"), "not the exchange map's");
    EXPECT_TRUE(xmap.Exists("atfile.zrb")) << "the request file is not a backup";
  }
}

TEST_F(AddTempStepsTest, TheSamVariantTalksThroughItsClientAndReadsWithItsReadCommand) {
  auto* command = new ZRBSamAddTempCmd();
  SetVariable("SAM_ZRBXMAP", xmap.Root().c_str());  // the SAM client's own settings
  Start(command);
  ASSERT_EQ(ShellLines().size(), 1u);
  EXPECT_EQ(ShellLines()[0], "samcl PdmSessn x3AddTempCad '" + RequestPath() + "'");
  ZRBReadCmd* read = command->CreateReadCmd();
  ASSERT_NE(dynamic_cast<ZRBSamReadCmd*>(read), nullptr);
  EXPECT_EQ(read->GetName(), "ZRBSamReadCmd");
  EXPECT_TRUE(read->GetRequestedStatusChanges().empty()) << "a read for another command requests no change";
  delete read;
  ExpectBox("ZRBAddTempCmd.AddTempCanceled", CADDlgNfyAnswerOK);
  PdmUserEnds("PDM_CANCEL");
}

}  // namespace

TEST_F(AddTempStepsTest, ARefusedSecondStepShowsThePdmsReasonAndKeepsItsBackups) {
  xmap.Write("temp.zrb/Bolt.CADPart.bak", "backup");
  Start();
  PdmUserEnds("PDM_ADDTEMP_READY", "@ROOT\n{ACTION_SUCCESS} 0\n{STATS} {Item Bolt is locked by mary} {No rights}\n\n");
  const MessageCentreView centre = Dialogs().LastMessageCentre();
  ASSERT_TRUE(centre.found);
  ASSERT_EQ(centre.warnings.Size(), 2);
  EXPECT_EQ(centre.warnings[1].str(), "Item Bolt is locked by mary");
  EXPECT_EQ(centre.status.str(), ZRBAfx::BuildMessage("ZRBAddTempCmd", "ZRBAddTempCmd.AddTempFailed").str());
  EXPECT_TRUE(xmap.Exists("temp.zrb/Bolt.CADPart.bak")) << "nothing was built from them";
  Loop().RunPending();
}
