// What ConnectPdm reports for the ways a shell call can end, directly and on the worker thread, and when the
// worker runs at all.

#include <cerrno>
#include <thread>

#include "CADApplication.h"
#include "CommandFixture.h"
#include "ScopedEnv.h"
#include "ZRBAfx.h"
#include "ZRBPdmWorkerCall.h"

namespace {

constexpr int ExitStatus(int code) { return code << 8; }

class ConnectResultTest : public CommandFixture {
 protected:
  // Records on which thread the shell runs.
  void WatchShellThread(int status) {
    SetShellAnswer([this, status](const std::string&) {
      shellThread_ = std::this_thread::get_id();
      return status;
    });
  }
  std::thread::id shellThread_;
};

TEST_F(ConnectResultTest, ShellOutcomesMapToResultsDirectlyAndOnTheWorker) {
  struct Case {
    const char* what;
    int shellResult;
    int shellErrno;
    bool failure;  // a negative result is expected
    int result;    // otherwise this one
  };
  const Case cases[] = {
      {"the PDM ended well", 0, 0, false, 0},
      {"the PDM ended with its own code", ExitStatus(3), 0, false, ExitStatus(3)},
      {"the host reaped the child (ECHILD)", -1, ECHILD, false, 0},
      {"the shell could not be started", -1, EAGAIN, true, 0},
      {"the PDM command is not executable", ExitStatus(126), 0, true, 0},
      {"the PDM command does not exist", ExitStatus(127), 0, true, 0},
  };
  for (const int keepDisplayAlive : {0, 1})
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (keepDisplayAlive ? " on the worker" : ""));
      SetShellAnswer([&c](const std::string&) {
        errno = c.shellErrno;
        return c.shellResult;
      });
      const int result = ZRBAfx::ConnectPdm("PdmSessn x3GetPDMSettings", keepDisplayAlive);
      if (c.failure) {
        EXPECT_LT(result, 0);
      } else {
        EXPECT_EQ(result, c.result);
      }
    }
}

// A child of 1.5 s: the session repaints while it waits and gets the child's own status back.
TEST_F(ConnectResultTest, RepaintsWhileTheChildRunsAndReturnsItsStatus) {
  UseRealShell();
  SetVariable("ZRB_CONNECTPDM", "sleep 1.5; exit 3;");
  EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3UpdateFromFile '/x/a.zrb'", 1), ExitStatus(3));
  EXPECT_GE(App().GetRepaintCount(), 1);
}

TEST_F(ConnectResultTest, RunsOnAWorkerUnlessTheSiteSwitchesRepaintingOff) {
  struct Case {
    const char* disableUpdateDisplay;  // null: unset
    bool onWorker;
  };
  for (Case c : {Case{nullptr, true}, Case{"on", true}, Case{"ON", false}}) {
    SCOPED_TRACE(c.disableUpdateDisplay ? c.disableUpdateDisplay : "(unset)");
    SetVariable("ZRB_DISABLE_UPDATE_DISPLAY", c.disableUpdateDisplay);
    WatchShellThread(0);
    EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 1), 0);
    EXPECT_EQ(shellThread_ != std::this_thread::get_id(), c.onWorker);
  }
}

TEST_F(ConnectResultTest, AWorkerThatCannotBeCreatedFallsBackToTheDirectCall) {
  WatchShellThread(ExitStatus(2));
  ZRBPdmWorkerCall::FailNextStartForTests(EAGAIN);
  EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 1), ExitStatus(2));
  EXPECT_EQ(shellThread_, std::this_thread::get_id());
  EXPECT_EQ(ShellLines().size(), 1u);
}

TEST_F(ConnectResultTest, WithoutAMainApplicationOnlyTheDirectCallRuns) {
  DropApplication();
  EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 1), -1);
  EXPECT_TRUE(ShellLines().empty());
  SetVariable("ZRB_DISABLE_UPDATE_DISPLAY", "ON");
  EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 1), 0);
  EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 0), 0);
  EXPECT_EQ(ShellLines().size(), 2u);
}

// Two threaded calls in a row share nothing: the second is not ended by the first one's signal.
TEST_F(ConnectResultTest, ConsecutiveCallsKeepTheirOwnState) {
  int calls = 0;
  SetShellAnswer([&calls](const std::string&) { return ExitStatus(++calls); });
  for (int i = 1; i <= 20; ++i) EXPECT_EQ(ZRBAfx::ConnectPdm("PdmSessn x3GetInfoForParts", 1), ExitStatus(i));
}

TEST_F(ConnectResultTest, NoDisplayIsOpenedWhenWindowManagementIsDisabled) {
  struct Case {
    const char* disable;  // "ZRB_DISABLE_WM_SUPPORT"
    int result;
    bool displayTried;
  };
  ScopedEnv env;
  env.Set("DISPLAY", nullptr);
  CaptureTrace();
  for (Case c : {Case{"ON", 1, false}, Case{"on", 0, true}, Case{nullptr, 0, true}}) {
    SCOPED_TRACE(c.disable ? c.disable : "(unset)");
    SetVariable("ZRB_DISABLE_WM_SUPPORT", c.disable);
    const std::size_t before = Trace().size();
    EXPECT_EQ(ZRBAfx::SetWorkBenchWindowTop(), c.result);
    EXPECT_EQ(ZRBAfx::SetCadWindowTop(), c.result);
    const std::string lines = Trace().substr(before);
    EXPECT_EQ(lines.find("failed to get DISPLAY") != std::string::npos, c.displayTried) << lines;
    EXPECT_EQ(lines.find("window management disabled") != std::string::npos, !c.displayTried) << lines;
  }
}

}  // namespace
