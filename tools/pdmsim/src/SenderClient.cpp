#include "SenderClient.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace pdmsim {
namespace fs = std::filesystem;

std::string SenderClient::SelfPath() {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : self.string();
}

std::string SenderClient::Locate() {
  if (const char* env = std::getenv("PDMSIM_SENDER"); env && *env) return env;
  std::string self = SelfPath();
  if (!self.empty()) {
    fs::path beside = fs::path(self).parent_path() / "ZRBSender";
    if (::access(beside.c_str(), X_OK) == 0) return beside.string();
  }
  return "ZRBSender";
}

bool SenderClient::Send(const std::vector<std::string>& args, std::string* diagnostics) const {
  std::string program = Locate();
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> raw;
  for (std::string& arg : argv) raw.push_back(arg.data());
  raw.push_back(nullptr);

  // Collect what the sender says so a failure can be reported in full.
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    if (diagnostics) *diagnostics = std::string("cannot create a pipe: ") + std::strerror(errno);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
  pid_t pid = 0;
  int rc = program.find('/') == std::string::npos
               ? posix_spawnp(&pid, program.c_str(), &actions, nullptr, raw.data(), environ)
               : posix_spawn(&pid, program.c_str(), &actions, nullptr, raw.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (rc != 0) {
    ::close(pipeFds[0]);
    if (diagnostics) *diagnostics = "cannot run " + program + ": " + std::strerror(rc);
    return false;
  }
  std::string output;
  char buffer[4096];
  ssize_t got = 0;
  while ((got = ::read(pipeFds[0], buffer, sizeof buffer)) != 0) {
    if (got < 0) {
      if (errno == EINTR) continue;
      break;
    }
    output.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (diagnostics) {
    *diagnostics = output;
    if (!ok) {
      if (!diagnostics->empty() && diagnostics->back() != '\n') *diagnostics += '\n';
      *diagnostics += program + (WIFEXITED(status) ? " exited with " + std::to_string(WEXITSTATUS(status))
                                                   : std::string(" was killed"));
    }
  }
  return ok;
}

bool SenderClient::SetStatus(const std::string& word, std::string* diagnostics) const {
  return Send({"SetStatus", word}, diagnostics);
}

bool SenderClient::StartCmd(const std::string& command, const std::string& argument, std::string* diagnostics) const {
  return Send({"StartCmd", command, argument}, diagnostics);
}

}  // namespace pdmsim
