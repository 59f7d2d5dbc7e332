// The add-temporary command against a scripted PDM (the shell answers as the PDM's first step, the test plays the
// PDM user through the status word): every failed start, answers no reference PDM gives, the end step, backups.
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
  static constexpr const char* kWaiting = "@ROOT\n{ACTION_SUCCESS} 2\n\n";  // the PDM's dialog is up
  std::string firstStepAnswer = kWaiting;
  int shellResult = 0;
};

TEST_F(AddTempStepsTest, EveryFailedStartShowsItsReasonThenTheFailureAndLeavesNothingWaiting) {
  enum Xmap { Usable, RequestBlocked, NotADirectory, Unset };
  struct Case {
    const char* name;
    std::string answer;  // the first step's ("" none)
    int shellResult;
    Xmap xmap;
    Lines boxes;
    bool pdmCalled;
  };
  const std::string failed = "ZRBAddTempCmd.AddTempFailed", noAccess = "ZRBAddTempCmd.NoFileAccess";
  const std::vector<Case> cases = {
      {"first step answers 1", "@ROOT\n{ACTION_SUCCESS} 1\n\n", 0, Usable, {failed}, true},
      {"answer without ROOT", "@COMMAND\n{EXMAP} x\n\n", 0, Usable, {failed}, true},
      {"answer is no exchange file", "garbage\n{ACTION_SUCCESS} 2\n", 0, Usable, {failed}, true},
      {"the PDM command cannot be run", "", -1, Usable, {"ZRBAfx.ConnectFailed", failed}, true},
      {"old request cannot be deleted", kWaiting, 0, RequestBlocked, {noAccess, failed}, false},
      {"request cannot be written", kWaiting, 0, NotADirectory, {noAccess, failed}, false},
      {"no exchange map", kWaiting, 0, Unset, {"ZRBAddTempCmd.NoExchangeMap", failed}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearShellLines();
    firstStepAnswer = c.answer;
    shellResult = c.shellResult;
    SetVariable("ZRBXMAP", c.xmap == Unset           ? nullptr
                           : c.xmap == NotADirectory ? xmap.Write("not-a-directory").c_str()
                                                     : xmap.Root().c_str());
    if (c.xmap == RequestBlocked) {
      std::filesystem::remove(xmap.Path("atfile.zrb"));
      xmap.Write("atfile.zrb/keep", "a directory in the request file's place");
    }
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
    std::string answer;    // written by the PDM user before the status ("" keeps the first step's)
    bool exchangeMapGone;  // "ZRBXMAP" is unset while the PDM's dialog is up
  };
  XmapScratchDirectory elsewhere;
  const Case cases[] = {{"first step's answer left in place", "", false},
                        {"ready without ROOT", "@COMMAND\n{EXMAP} x\n\n", false},
                        {"exchange map gone", "@ROOT\n{ACTION_SUCCESS} 1\n\n", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedEnv env;
    ClearShellLines();
    SetVariable("ZRBXMAP", xmap.Root().c_str());
    ZRBAddTempCmd* command = Start();
    ASSERT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
    ExpectBox("ZRBAddTempCmd.AddTempFailed", CADDlgNfyAnswerOK);
    if (c.exchangeMapGone) {
      WriteFile(RequestPath(), c.answer);
      SetVariable("ZRBXMAP", nullptr);
      // What the temporary directory holds is nobody's answer and nobody's backups.
      env.Set("TMPDIR", elsewhere.Root().c_str());
      elsewhere.Write("atfile.zrb", c.answer);
      elsewhere.Write("temp.zrb/keep", "not ours");
    }
    PdmUserEnds("PDM_ADDTEMP_READY", c.exchangeMapGone ? std::string() : c.answer);
    EXPECT_TRUE(!c.exchangeMapGone || elsewhere.Exists("temp.zrb/keep"));
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
