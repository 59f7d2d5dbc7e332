// zrbsession --serve: the PDM side's automation calls are performed until the
// session is interrupted, which ends it cleanly (socket gone, exit status 0).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "SessionRunnerTestSupport.h"
#include "ToolRun.h"

namespace {

TEST(SessionServe, PerformsThePdmSidesCallsUntilInterrupted) {
  SessionScratch scratch;
  const std::string socket = scratch.Dir() + "/session.sock";
  const std::string log = scratch.Dir() + "/serve.out";
  const pid_t child = fork();
  if (child == 0) {
    if (!freopen(log.c_str(), "w", stdout)) _exit(126);
    std::vector<std::string> args = {SessionScratch::Binary()};
    for (const std::string& a : scratch.SessionArgs()) args.push_back(a);
    for (const char* a : {"--socket", socket.c_str(), "--serve"}) args.push_back(a);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  for (int i = 0; i < 200 && !std::filesystem::exists(socket); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_TRUE(std::filesystem::exists(socket)) << SessionScratch::ReadFile(log);

  auto send = [&](const std::string& request) { return RunBuiltTool("ZRBSender", {"--socket", socket, request}); };
  EXPECT_EQ(send("SetStatus:PDM_ADDTEMP_READY").exitCode, 0);
  // The status is set on the session's loop; poll until it shows.
  std::string status;
  for (int i = 0; i < 100 && status != "PDM_ADDTEMP_READY\n"; ++i) {
    status = send("GetStatus").out;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(status, "PDM_ADDTEMP_READY\n");
  // A status word with control characters is shown escaped: it cannot move the terminal's cursor or fake a line.
  EXPECT_EQ(send("SetStatus:A\033[2Jfake\\nline").exitCode, 0);

  kill(child, SIGINT);
  int exitStatus = -1;
  waitpid(child, &exitStatus, 0);
  EXPECT_TRUE(WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0) << exitStatus;
  EXPECT_FALSE(std::filesystem::exists(socket));
  const std::string out = SessionScratch::ReadFile(log);
  EXPECT_NE(out.find("PDM -> session: SetStatus PDM_ADDTEMP_READY"), std::string::npos) << out;
  EXPECT_NE(out.find("PDM -> session: SetStatus A\\e[2Jfake\\\\nline"), std::string::npos) << out;
  EXPECT_EQ(out.find('\033'), std::string::npos) << out;
  EXPECT_NE(out.find("session ends"), std::string::npos) << out;
}

}  // namespace
