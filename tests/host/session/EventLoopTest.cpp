#include <fcntl.h>
#include <unistd.h>

#include <thread>

#include "SessionFixture.h"

using Journal = std::vector<std::string>;

TEST_F(SessionTest, TurnRunsPostedJobsThenDueTimersThenDestructions) {
  Journal journal;
  auto* cmd = new JournalCommand("c", journal);
  auto* doomed = new JournalCommand("d", journal);
  App().AddTimeOut(0, cmd, const_cast<char*>("timer"), &JournalCommand::Record);
  doomed->RequestDelayedDestruction();
  Loop().Post([&] { journal.push_back("job"); });

  Loop().RunPending();

  EXPECT_EQ(journal, (Journal{"job", "timer@0/0", "destroyed d"}));
  cmd->Release();
}

TEST_F(SessionTest, TimersFireByDueTimeAndInArmingOrderOnTies) {
  Journal journal;
  auto* cmd = new JournalCommand("c", journal);
  struct Arm {
    int ms;
    const char* label;
  };
  for (Arm arm : {Arm{300, "c"}, Arm{100, "a1"}, Arm{200, "b"}, Arm{100, "a2"}, Arm{0, "z"}})
    App().AddTimeOut(arm.ms, cmd, const_cast<char*>(arm.label), &JournalCommand::Record);

  Loop().AdvanceBy(1000);

  EXPECT_EQ(journal, (Journal{"z@0/0", "a1@100/100", "a2@100/100", "b@200/200", "c@300/300"}));
  EXPECT_EQ(Loop().NowMs(), 1000);
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u) << "timers are one-shot";
  cmd->Release();
}

namespace {
int g_polls = 0;
void PollAndReArm(CADCommand* command, int intervalMs, void* data) {
  ++g_polls;
  CADApplication::MainApplication()->AddTimeOut(intervalMs, command, data, &PollAndReArm);
}
}  // namespace

TEST_F(SessionTest, ATimerReArmedFromItsCallbackPollsOncePerIntervalAndRunUntilStopsOnTime) {
  g_polls = 0;
  auto* cmd = new CADCommand("poller");
  App().AddTimeOut(1000, cmd, nullptr, &PollAndReArm);

  Loop().AdvanceBy(999);
  EXPECT_EQ(g_polls, 0);
  Loop().AdvanceBy(1);
  EXPECT_EQ(g_polls, 1);
  EXPECT_TRUE(Loop().RunUntil([] { return g_polls == 3; }, 10000)) << "stops where the predicate holds";
  EXPECT_EQ(Loop().NowMs(), 3000);
  EXPECT_FALSE(Loop().RunUntil([] { return g_polls == 100; }, 2500)) << "or at the limit";
  EXPECT_EQ(Loop().NowMs(), 5500);
  EXPECT_EQ(g_polls, 5);
  EXPECT_EQ(Loop().PendingTimeOuts(cmd), 1u);

  cmd->Release();
  EXPECT_EQ(Loop().PendingTimeOuts(), 0u) << "deleting a command drops its timers";
  Loop().AdvanceBy(5000);
  EXPECT_EQ(g_polls, 5);
}

TEST_F(SessionTest, RemoveTimeOutTakesTheFirstOfThatOwnerAndIntervalAndSaysWhetherOneWasPending) {
  Journal journal;
  auto* a = new JournalCommand("a", journal);
  auto* b = new JournalCommand("b", journal);
  App().AddTimeOut(1000, a, const_cast<char*>("a1000"), &JournalCommand::Record);
  App().AddTimeOut(500, a, const_cast<char*>("a500"), &JournalCommand::Record);
  App().AddTimeOut(1000, b, const_cast<char*>("b1000"), &JournalCommand::Record);
  App().AddTimeOut(1000, a, const_cast<char*>("a1000bis"), &JournalCommand::Record);

  struct Removal {
    CADCommand* owner;
    int ms;
    bool expected;
  };
  for (Removal r : {Removal{a, 1000, true}, Removal{a, 2000, false}, Removal{nullptr, 1000, false}})
    EXPECT_EQ(App().RemoveTimeOut(r.ms, r.owner), r.expected) << r.ms;

  Loop().AdvanceBy(2000);
  EXPECT_EQ(journal, (Journal{"a500@500/500", "b1000@1000/1000", "a1000bis@1000/1000"}));
  EXPECT_FALSE(App().RemoveTimeOut(500, a)) << "a fired timer is no longer pending";
  a->Release();
  b->Release();
}

TEST_F(SessionTest, DelayedDestructionIsIdempotentDeferredAndSurvivesAnEarlierDelete) {
  Journal journal;
  const std::size_t before = CADCommand::LiveCount();
  auto* once = new JournalCommand("once", journal);
  auto* deleted = new JournalCommand("deleted", journal);
  once->RequestDelayedDestruction();
  once->RequestDelayedDestruction();
  deleted->RequestDelayedDestruction();
  App().AddTimeOut(10, deleted, const_cast<char*>("never"), &JournalCommand::Record);
  EXPECT_EQ(CADCommand::LiveCount(), before + 2) << "destruction waits for the loop";
  EXPECT_EQ(Loop().PendingDestructions(), 2u);

  deleted->Release();  // its owner gives it up before the loop turns
  EXPECT_EQ(Loop().PendingDestructions(), 1u);
  Loop().AdvanceBy(100);

  EXPECT_EQ(journal, (Journal{"destroyed deleted", "destroyed once"}));
  EXPECT_EQ(CADCommand::LiveCount(), before);
}

TEST_F(SessionTest, ADestructorMayScheduleOrDeleteOtherCommands) {
  struct Chain : CADCommand {
    Chain(CADCommand* next, bool deleteNext) : CADCommand("chain"), next_(next), deleteNext_(deleteNext) {}
    ~Chain() override {
      if (!next_) return;
      if (deleteNext_)
        next_->Release();
      else
        next_->RequestDelayedDestruction();
    }
    CADCommand* next_;
    bool deleteNext_;
  };
  const std::size_t before = CADCommand::LiveCount();
  auto* extra = new CADCommand("extra");   // scheduled by middle's destructor
  auto* middle = new Chain(extra, false);  // deleted outright by first's destructor
  auto* first = new Chain(middle, true);
  first->RequestDelayedDestruction();
  middle->RequestDelayedDestruction();
  Loop().RunPending();
  EXPECT_EQ(CADCommand::LiveCount(), before);
}

TEST_F(SessionTest, SteadyClockWakesForWatchedDescriptors) {
  Loop().UseClock(CADEventLoop::Clock::Steady);
  int fds[2];
  ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
  std::string got;
  Loop().WatchFd(fds[0], [&] {
    char buffer[16];
    ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
  });
  std::thread writer([&] { ASSERT_EQ(write(fds[1], "ping", 4), 4); });
  EXPECT_TRUE(Loop().RunUntil([&] { return got == "ping"; }, 10000));
  writer.join();
  Loop().UnwatchFd(fds[0]);
  close(fds[0]);
  close(fds[1]);
}

TEST_F(SessionTest, QuitEndsRunFromAnotherThreadAndOneSteadyWaitOnlyAndTimersWakeTheSleep) {
  Loop().UseClock(CADEventLoop::Clock::Steady);
  bool ran = false;
  std::thread other([&] {
    Loop().Post([&] { ran = true; });
    Loop().Quit();
  });
  Loop().Run();
  other.join();
  Loop().RunPending();
  EXPECT_TRUE(ran);
  Loop().Quit();  // an interrupt while nothing was waiting ends only the next wait
  EXPECT_FALSE(Loop().RunUntil([] { return false; }, 10000)) << "the interrupted wait ends at once";
  bool fired = false;
  auto* cmd = new CADCommand("Waiter");
  const std::int64_t start = Loop().NowMs();
  App().AddTimeOut(20, cmd, &fired, [](CADCommand*, int, void* flag) { *static_cast<bool*>(flag) = true; });
  EXPECT_TRUE(Loop().RunUntil([&fired] { return fired; }, 10000)) << "a later wait is not cut short";
  EXPECT_GE(Loop().NowMs() - start, 20) << "the steady clock sleeps until the timer is due";
  cmd->Release();
}

using SessionDeathTest = SessionTest;

TEST_F(SessionDeathTest, NestedLoopsAndASecondApplicationFailLoudly) {
  EXPECT_DEATH(
      {
        CADEventLoop::Instance().Post([] { CADEventLoop::Instance().RunPending(); });
        CADEventLoop::Instance().RunPending();
      },
      "nested event loops");
  EXPECT_DEATH(CADApplication second("second"), "second application");
}
