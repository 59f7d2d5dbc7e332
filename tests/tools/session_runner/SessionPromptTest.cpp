// The interactive prompt under a pseudo-terminal: prompt and colour, help for a
// command, a dialog shown with its rows when it opens, and a clean end.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

#include "SessionRunnerTestSupport.h"

namespace {

class PromptSession {
 public:
  explicit PromptSession(const SessionScratch& scratch) {
    std::vector<std::string> args = {SessionScratch::Binary()};
    for (const std::string& a : scratch.SessionArgs())
      if (a != "--no-colour") args.push_back(a);
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      unsetenv("NO_COLOR");
      execv(argv[0], argv.data());
      _exit(127);
    }
  }
  ~PromptSession() {
    if (pid_ > 0 && !reaped_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }

  void Type(const std::string& line) {
    const std::string text = line + "\n";
    ASSERT_EQ(write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Reads until `text` has appeared after the last match (or the time is up).
  bool WaitFor(const std::string& text, int seconds = 20) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
      const std::size_t at = output_.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) return output_.find(text, consumed_) != std::string::npos;
      output_.append(buffer, static_cast<std::size_t>(n));
    }
    return false;
  }
  int Finish() {
    WaitFor("\x01never\x01", 2);  // drain what is left
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped_ = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& Output() const { return output_; }

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  bool reaped_ = false;
  std::string output_;
  std::size_t consumed_ = 0;
};

TEST(SessionPrompt, WorksUnderAPseudoTerminal) {
  SessionScratch scratch;
  PromptSession session(scratch);
  ASSERT_TRUE(session.WaitFor("zrb> ")) << session.Output();
  // Colour on a terminal.
  EXPECT_NE(session.Output().find("\033["), std::string::npos);

  session.Type("help dialog");
  ASSERT_TRUE(session.WaitFor("choose LIST TEXT")) << session.Output();

  session.Type("open " + scratch.Sample("Assembly.CADProduct"));
  ASSERT_TRUE(session.WaitFor("opened Assembly.CADProduct")) << session.Output();
  session.Type("tree");
  ASSERT_TRUE(session.WaitFor("Bracket.2")) << session.Output();

  // Interactive: a box nobody answered asks which button; a word that names none asks again, Enter takes the
  // safe default.
  session.Type("start ZRBSessionProbeCmd");
  ASSERT_TRUE(session.WaitFor("Pick a part for the probe?")) << session.Output();
  ASSERT_TRUE(session.WaitFor("[y]es / [n]o")) << session.Output();
  session.Type("ok");
  ASSERT_TRUE(session.WaitFor("not a button of this box: ok")) << session.Output();
  session.Type("");
  ASSERT_TRUE(session.WaitFor("-> No")) << session.Output();
  session.Type("start ZRBSessionProbeCmd");
  ASSERT_TRUE(session.WaitFor("[y]es / [n]o")) << session.Output();
  session.Type("Y");
  ASSERT_TRUE(session.WaitFor("-> Yes")) << session.Output();
  ASSERT_TRUE(session.WaitFor("dialog opened: ")) << session.Output();
  session.Type("dialog ZRBSessionProbeDlg cancel");
  session.Type("wait closed ZRBSessionProbeDlg 5");

  // Answered beforehand, the dialog opens and is shown with its rows.
  session.Type("answer yes");
  session.Type("start ZRBSessionProbeCmd");
  ASSERT_TRUE(session.WaitFor("dialog opened: ")) << session.Output();
  ASSERT_TRUE(session.WaitFor("Bracket | part")) << session.Output();
  ASSERT_TRUE(session.WaitFor("window buttons: ok cancel")) << session.Output();
  session.Type("dialog ZRBSessionProbeDlg choose PartList Bolt");
  session.Type("dialog ZRBSessionProbeDlg ok");
  session.Type("props Assembly");
  ASSERT_TRUE(session.WaitFor("probe chose Bolt")) << session.Output();

  // A mistake is reported and the prompt goes on.
  session.Type("frobnicate");
  ASSERT_TRUE(session.WaitFor("unknown command")) << session.Output();
  session.Type("quit");
  EXPECT_EQ(session.Finish(), 0) << session.Output();
}

}  // namespace
