// A two-step command as the module builds them, reduced to what it asks of
// the host: it hands over to the PDM, sets "NO_STATUS", polls once a second
// through a host timer, and ends when the PDM's status word arrives through
// the automation bridge.
#include <functional>

#include "BridgeFixture.h"
#include "CADInstantiateComponent.h"

namespace {

class FakeTwoStepCmd : public CADCommand {
 public:
  // `pdmStep` plays the PDM child that the command waits for in its start step.
  explicit FakeTwoStepCmd(std::function<void()> pdmStep) : CADCommand("FakeTwoStepCmd"), pdmStep_(std::move(pdmStep)) {}

  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override {
    if (pdmStep_) pdmStep_();
    SetStatus("NO_STATUS");
    CADApplication::MainApplication()->AddTimeOut(1000, this, nullptr, &WaitForPdm);
    return CADStatusChangeRCCompleted;
  }
  CADStatusChangeRC Cancel(CADCommand* caller, CADNotification*) override {
    if (caller && caller->GetName() != "CADCommandHeaderStopper") return CADStatusChangeRCCompleted;
    timerWasPending_ = CADApplication::MainApplication()->RemoveTimeOut(1000, this);
    ended_ = "cancelled";
    RequestDelayedDestruction();
    return CADStatusChangeRCCompleted;
  }

  static void WaitForPdm(CADCommand* command, int, void*) {
    auto* self = static_cast<FakeTwoStepCmd*>(command);
    ++self->polls_;
    const std::string status = FakeModComm::Status();
    if (status == "PDM_ADDTEMP_READY" || status == "PDM_CANCEL") {
      self->timerWasPending_ = CADApplication::MainApplication()->RemoveTimeOut(1000, self);
      self->ended_ = status;
      self->RequestDelayedDestruction();
      return;
    }
    CADApplication::MainApplication()->AddTimeOut(1000, self, nullptr, &WaitForPdm);
  }

  int polls_ = 0;
  std::string ended_;
  bool timerWasPending_ = false;

 private:
  void SetStatus(const char* status) {
    void* raw = nullptr;
    ASSERT_EQ(CADInstantiateComponent(FakeModComm::kClassName, CADIAutomation::ClassId(), &raw), S_OK);
    auto* automation = static_cast<CADIAutomation*>(raw);
    int result = 0;
    automation->Invoke("SetStatus", {CADUnicodeString(status)}, result);
    automation->Release();
  }

  std::function<void()> pdmStep_;
};

// Watches a command's end without keeping it alive.
struct Outcome {
  int polls = 0;
  std::string ended;
};

}  // namespace

class TwoStepScenario : public BridgeTest, public ::testing::WithParamInterface<bool> {
 protected:
  // Delivers a status word the way the PDM does: over the socket with the
  // built ZRBSender, or by handing the same line to the bridge in process.
  void DeliverStatus(const std::string& word) {
    if (GetParam()) {
      SenderRun run = RunSender({"SetStatus:" + word});
      ASSERT_EQ(run.exitCode, 0) << run.output;
    } else {
      ASSERT_EQ(bridge_->GetDispatcher().HandleLine("SetStatus\t" + word + "\n"), "OK\t1\n");
    }
  }
};

TEST_P(TwoStepScenario, PollsUntilTheStatusArrivesThenLeavesNothingBehind) {
  StartBridge();
  const std::size_t live = CADCommand::LiveCount();
  auto* command = new FakeTwoStepCmd(nullptr);
  command->Activate(nullptr, nullptr);

  Loop().AdvanceBy(5000);
  EXPECT_EQ(command->polls_, 5);
  EXPECT_EQ(FakeModComm::Status(), "NO_STATUS");
  EXPECT_EQ(Loop().PendingTimeOuts(command), 1u);

  DeliverStatus("PDM_ADDTEMP_READY");
  EXPECT_EQ(FakeModComm::Status(), "NO_STATUS") << "queued for the loop, not performed by the bridge";
  EXPECT_EQ(command->polls_, 5);

  Loop().AdvanceBy(1000);  // the queued status first, then the sixth poll
  EXPECT_EQ(CADCommand::LiveCount(), live) << "the command ended and was destroyed in the same turn";
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
  EXPECT_EQ(FakeModComm::Status(), "PDM_ADDTEMP_READY");
}

TEST_P(TwoStepScenario, AReadyWordSentDuringTheFirstStepIsAppliedAfterNoStatus) {
  StartBridge();
  Outcome outcome;
  auto* command = new FakeTwoStepCmd([this] { DeliverStatus("PDM_ADDTEMP_READY"); });
  command->Activate(nullptr, nullptr);
  EXPECT_EQ(FakeModComm::Status(), "NO_STATUS");

  bool ended = false;
  struct Spy : CADCommand {
    Spy(FakeTwoStepCmd* watched, bool& ended, Outcome& outcome)
        : CADCommand("Spy"), watched_(watched), ended_(ended), outcome_(outcome) {}
    static void Look(CADCommand* spy, int, void*) {
      auto* self = static_cast<Spy*>(spy);
      self->outcome_.polls = self->watched_->polls_;
      self->outcome_.ended = self->watched_->ended_;
      self->ended_ = !self->outcome_.ended.empty();
    }
    FakeTwoStepCmd* watched_;
    bool& ended_;
    Outcome& outcome_;
  };
  // Reads the command's state inside the turn that ends it, before its destruction.
  auto* spy = new Spy(command, ended, outcome);
  App().AddTimeOut(1000, spy, nullptr, &Spy::Look);

  Loop().AdvanceBy(1000);
  EXPECT_TRUE(ended);
  EXPECT_EQ(outcome.polls, 1) << "the first poll already sees the ready word";
  EXPECT_EQ(outcome.ended, "PDM_ADDTEMP_READY");
  EXPECT_EQ(FakeModComm::Journal(), (std::vector<std::string>{"SetStatus NO_STATUS", "SetStatus PDM_ADDTEMP_READY"}));
  spy->Release();
}

INSTANTIATE_TEST_SUITE_P(Delivery, TwoStepScenario, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "OverTheSocketWithZRBSender" : "InProcess";
});

TEST_F(SessionTest, OnlyTheHeaderStopperOrNoCallerCancelsAWaitingCommand) {
  FakeModComm::Reset();
  struct Case {
    const char* caller;  // null: no calling command
    bool ends;
  };
  for (Case c : {Case{"SomeOtherCmd", false}, Case{"CADCommandHeaderStopper", true}, Case{nullptr, true}}) {
    SCOPED_TRACE(c.caller ? c.caller : "(none)");
    const std::size_t live = CADCommand::LiveCount();
    auto* command = new FakeTwoStepCmd(nullptr);
    command->Activate(nullptr, nullptr);
    Loop().AdvanceBy(2000);
    {
      CADCommand caller(c.caller ? c.caller : "");
      command->Cancel(c.caller ? &caller : nullptr, nullptr);
    }
    if (!c.ends) {
      Loop().AdvanceBy(1000);
      EXPECT_EQ(command->polls_, 3) << "still waiting";
      command->Cancel(nullptr, nullptr);
    }
    EXPECT_TRUE(command->timerWasPending_) << "the timer was pending between polls";
    Loop().RunPending();
    EXPECT_EQ(CADCommand::LiveCount(), live);
    EXPECT_EQ(Loop().PendingTimeOuts(), 0u);
  }
}
