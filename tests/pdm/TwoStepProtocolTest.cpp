// The waiting protocol of two-step commands: polling, the PDM's answers, cancelling, abandonment by a newer
// command, and the clients the cancel words go through.
#include "CADDlgNotify.h"
#include "CommandFixture.h"
#include "FakeTwoStepCmd.h"
#include "ZRBDummyCmd.h"
#include "ZRBGlobalProperties.h"
#include "ZRBModComm.h"

namespace {

using Lines = std::vector<std::string>;

class TwoStepProtocolTest : public CommandFixture {
 protected:
  FakeTwoStepCmd* Start(const char* name, ZRBRunningCommandKind kind = FakeTwoStepCmd::kAddTemp, bool sam = false) {
    auto* command = new FakeTwoStepCmd(name, journal, kind, sam);
    command->Activate(nullptr, nullptr);
    return command;
  }
  static void SetStatus(const char* status) {
    ZRBModComm component;
    component.SetStatus(status);
  }
  static CADString Status() {
    CADString status;
    ZRBModComm().GetStatus(status);
    return status;
  }
  static ZRBRunningCommandRegistry& Registry() { return ZRBGlobalProperties::Process().GetRunningCommandRegistry(); }

  FakeTwoStepCmd::Journal journal;
};

TEST_F(TwoStepProtocolTest, WaitsForTheReadyWordOrThePdmCancelThenEndsOnce) {
  for (const char* final : {"PDM_ADDTEMP_READY", "PDM_CANCEL"}) {
    SCOPED_TRACE(final);
    journal.clear();
    ClearShellLines();
    ZRBModComm::ResetStatus();
    FakeTwoStepCmd* command = Start("AddTemp");
    EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
    EXPECT_EQ(Status(), "NO_STATUS");
    EXPECT_EQ(Registry().GetCommand(), command);
    EXPECT_EQ(Registry().GetKind(), ZRBRunningCommandKind::AddTemp);

    SetStatus("PDM_SAVEAS_READY");  // another command's ready word is no answer for this one
    Loop().AdvanceBy(3000);
    EXPECT_EQ(Loop().PendingTimeOuts(command), 1u);
    SetStatus(final);
    Loop().AdvanceBy(1000);
    EXPECT_EQ(journal, (Lines{"start AddTemp status=", std::string("end AddTemp ") + final + " via pdmcl -b --",
                              "destroyed AddTemp"}));
    EXPECT_TRUE(Registry().IsEmpty());
    EXPECT_EQ(ShellLines(), Lines{"pdmcl -b -- PdmSessn x3AddTempCad '/xmap/AddTemp.zrb'"}) << "no cancel word";
  }
}

TEST_F(TwoStepProtocolTest, NoStatusKeepsTheTimerFiringWithoutEnd) {
  FakeTwoStepCmd* command = Start("AddTemp");
  for (int minute = 1; minute <= 10; ++minute) {
    Loop().AdvanceBy(60'000);
    ASSERT_EQ(Loop().PendingTimeOuts(command), 1u) << "minute " << minute;
    ASSERT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
  }
  command->Cancel(nullptr, nullptr);
}

TEST_F(TwoStepProtocolTest, OnlyTheUsersInterruptionOrNoCallerCancels) {
  struct Case {
    const char* caller;  // null: no calling command
    bool ends;
  };
  for (Case c : {Case{"ZRBReadCmd", false}, Case{"CADCommandHeaderStopper", true}, Case{nullptr, true}}) {
    SCOPED_TRACE(c.caller ? c.caller : "(none)");
    journal.clear();
    ClearShellLines();
    FakeTwoStepCmd* command = Start("AddTemp");
    Loop().AdvanceBy(2000);
    {
      CADCommand caller(c.caller);
      command->Cancel(c.caller ? &caller : nullptr, nullptr);
    }
    Loop().AdvanceBy(2000);
    if (!c.ends) {
      EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Waiting);
      EXPECT_EQ(Loop().PendingTimeOuts(command), 1u);
      EXPECT_EQ(ShellLines().size(), 1u) << "no cancel word";
      command->Desactivate(nullptr, nullptr);
      Loop().RunPending();
    }
    EXPECT_EQ(ShellLines(), (Lines{"pdmcl -b -- PdmSessn x3AddTempCad '/xmap/AddTemp.zrb'",
                                   "pdmcl -b -- PdmSessn x3CancelCadAddTemp"}));
    EXPECT_EQ(journal.back(), "destroyed AddTemp");
    EXPECT_TRUE(Registry().IsEmpty());
  }
}

TEST_F(TwoStepProtocolTest, EndingTwiceSendsOneCancelWord) {
  FakeTwoStepCmd* command = Start("AddTemp");
  command->Cancel(nullptr, nullptr);
  command->Desactivate(nullptr, nullptr);
  command->EndCmd();
  Loop().RunPending();
  EXPECT_EQ(ShellLines(), (Lines{"pdmcl -b -- PdmSessn x3AddTempCad '/xmap/AddTemp.zrb'",
                                 "pdmcl -b -- PdmSessn x3CancelCadAddTemp"}));
}

TEST_F(TwoStepProtocolTest, ANewerTwoStepCommandAbandonsTheWaitingOneFirst) {
  FakeTwoStepCmd* first = Start("AddTemp");
  Loop().AdvanceBy(5000);
  FakeTwoStepCmd* second = Start("SaveAs", FakeTwoStepCmd::kSaveAs);
  EXPECT_EQ(first->GetState(), ZRBTwoStepCommand::State::Ended);
  EXPECT_EQ(Loop().PendingTimeOuts(first), 0u);
  EXPECT_EQ(ShellLines(),
            (Lines{"pdmcl -b -- PdmSessn x3AddTempCad '/xmap/AddTemp.zrb'", "pdmcl -b -- PdmSessn x3CancelCadAddTemp",
                   "pdmcl -b -- PdmSessn x3SaveAsCADPartFrFile '/xmap/SaveAs.zrb'"}));
  Loop().RunPending();
  EXPECT_EQ(journal, (Lines{"start AddTemp status=", "start SaveAs status=CAD_CANCEL", "destroyed AddTemp"}));
  EXPECT_EQ(Registry().GetCommand(), second);
  EXPECT_EQ(Registry().GetKind(), ZRBRunningCommandKind::SaveAs);

  // The abandoned command's destruction left the newer registration alone; the newer one still works.
  SetStatus("PDM_SAVEAS_READY");
  Loop().AdvanceBy(1000);
  EXPECT_EQ(journal.back(), "destroyed SaveAs");
  EXPECT_TRUE(Registry().IsEmpty());
}

// The process-wide client mode belongs to the command constructed last (the component's dummy command resets it
// to the standard client); a waiting SAM command still talks to its own client.
TEST_F(TwoStepProtocolTest, CancelWordsGoThroughTheWaitingCommandsOwnClient) {
  SetVariable("SAM_ZRB_CONNECTPDM", "samcl --site a");
  for (const bool userCancel : {true, false}) {
    SCOPED_TRACE(userCancel ? "user cancel" : "abandoned");
    ClearShellLines();
    journal.clear();
    FakeTwoStepCmd* sam = Start("SamAddTemp", FakeTwoStepCmd::kAddTemp, true);
    (new ZRBDummyCmd())->RequestDelayedDestruction();
    ASSERT_EQ(ZRBClientMode::Current(), ZRBClientMode::Standard()) << "the dummy command reset the mode";
    Loop().AdvanceBy(2000);
    ZRBClientMode::Standard().Apply();
    (userCancel ? sam : Start("AddTemp"))->Cancel(nullptr, nullptr);
    Loop().RunPending();
    ASSERT_GE(ShellLines().size(), 2u);
    EXPECT_EQ(ShellLines()[0], "samcl --site a PdmSessn x3AddTempCad '/xmap/SamAddTemp.zrb'");
    EXPECT_EQ(ShellLines()[1], "samcl --site a PdmSessn x3CancelCadAddTemp");
    if (ShellLines().size() > 2) {
      EXPECT_EQ(ShellLines()[2], "pdmcl -b -- PdmSessn x3AddTempCad '/xmap/AddTemp.zrb'")
          << "the newer command keeps its own client";
    }
  }
}

TEST_F(TwoStepProtocolTest, TheEndStepRunsInTheCommandsOwnClientMode) {
  Start("SamAddTemp", FakeTwoStepCmd::kAddTemp, true);
  (new ZRBDummyCmd())->RequestDelayedDestruction();
  Loop().RunPending();
  SetStatus("PDM_ADDTEMP_READY");
  Loop().AdvanceBy(1000);
  EXPECT_EQ(journal[1], "end SamAddTemp PDM_ADDTEMP_READY via samcl");
}

TEST_F(TwoStepProtocolTest, AFailedStartShowsItsMessageAndLeavesNothingBehind) {
  struct Case {
    const char* what;
    int shellResult;
    int firstStep;
    std::vector<const char*> boxes;
  };
  for (const Case& c :
       {Case{"the PDM's first step failed", 0, 0, {"ZRBAddTempCmd.AddTempFailed"}},
        Case{"the PDM command was not found", 127 << 8, 1, {"ZRBAfx.ConnectFailed", "ZRBAddTempCmd.AddTempFailed"}}}) {
    SCOPED_TRACE(c.what);
    journal.clear();
    SetShellAnswer([&c](const std::string&) { return c.shellResult; });
    for (const char* box : c.boxes) ExpectBox(box, CADDlgNfyAnswerOK);
    auto* command = new FakeTwoStepCmd("AddTemp", journal);
    command->firstStepResult = c.firstStep;
    command->Activate(nullptr, nullptr);
    EXPECT_EQ(command->GetState(), ZRBTwoStepCommand::State::Ended);
    EXPECT_TRUE(Registry().IsEmpty());
    Loop().RunPending();
    EXPECT_EQ(journal.back(), "destroyed AddTemp");
  }
}

// A command destroyed while it waits takes its timer with it and leaves no pointer in the registry; the PDM's
// dialog is still cancelled by the next command's integrity check.
TEST_F(TwoStepProtocolTest, ADestroyedWaitingCommandLeavesNoTimerAndNoPointer) {
  FakeTwoStepCmd* command = Start("AddTemp");
  command->Release();
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
  EXPECT_EQ(Registry().GetCommand(), nullptr);
  EXPECT_EQ(Registry().GetKind(), ZRBRunningCommandKind::AddTemp);

  ZRBCommand::CheckIntegrity(0);
  EXPECT_EQ(ShellLines().back(), "pdmcl -b -- PdmSessn x3CancelCadAddTemp");
  EXPECT_TRUE(Registry().IsEmpty());
}

TEST_F(TwoStepProtocolTest, EndingClearsTheRegistryOnlyWhenItIsStillTheRegisteredOne) {
  FakeTwoStepCmd* first = Start("AddTemp");
  auto* other = new FakeTwoStepCmd("Other", journal);
  ZRBGlobalProperties::Process().RegisterRunningCommand(ZRBRunningCommandKind::SaveAs, other);
  first->Cancel(nullptr, nullptr);
  EXPECT_EQ(Registry().GetCommand(), other);
  EXPECT_EQ(Registry().GetKind(), ZRBRunningCommandKind::SaveAs);
  Registry().Clear();
  other->Release();
}

TEST_F(TwoStepProtocolTest, AbandonmentOfAnUnknownKindOnlyTraces) {
  CaptureTrace();
  ZRBGlobalProperties::Process().GetRunningCommandRegistry().Register(static_cast<ZRBRunningCommandKind>(7), nullptr,
                                                                      "pdmcl -b --");
  ZRBCommand::CheckIntegrity(0);
  EXPECT_TRUE(ShellLines().empty());
  EXPECT_TRUE(TraceHas("ZRB: sending Cancel to PDM"));
  EXPECT_TRUE(TraceHas("Unknown Active Command"));
  EXPECT_TRUE(Registry().IsEmpty());
}

}  // namespace
