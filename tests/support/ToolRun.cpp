#include "ToolRun.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern char** environ;

namespace {
// A scratch file for one output stream, read back and removed when done.
class Capture {
 public:
  Capture() : fd_(::mkstemp(path_)) {}
  ~Capture() {
    if (fd_ >= 0) ::close(fd_);
    ::unlink(path_);
  }
  int Fd() const { return fd_; }
  std::string Text() const {
    std::string text;
    char buffer[4096];
    ::lseek(fd_, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    return text;
  }

 private:
  char path_[32] = "/tmp/zrbtoolrun-XXXXXX";
  int fd_;
};
}  // namespace

ToolRun RunBuiltTool(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env) {
  std::vector<std::string> argv{program.find('/') == std::string::npos ? std::string(ZRB_BIN_DIR) + "/" + program
                                                                       : program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> rawArgs;
  for (std::string& arg : argv) rawArgs.push_back(arg.data());
  rawArgs.push_back(nullptr);

  std::map<std::string, std::string> merged;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    const auto eq = entry.find('=');
    if (eq != std::string::npos) merged[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [name, value] : env) merged[name] = value;
  std::vector<std::string> entries;
  for (const auto& [name, value] : merged) entries.push_back(name + "=" + value);
  std::vector<char*> rawEnv;
  for (std::string& entry : entries) rawEnv.push_back(entry.data());
  rawEnv.push_back(nullptr);

  Capture out, err;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out.Fd(), STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err.Fd(), STDERR_FILENO);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, rawArgs.data(), rawEnv.data());
  posix_spawn_file_actions_destroy(&actions);
  ToolRun run;
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << argv[0];
    return run;
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = out.Text();
  run.err = err.Text();
  return run;
}
