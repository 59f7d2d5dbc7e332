// The PDM connection of the application helper: building the command line, running it directly or on a
// worker thread, and the shell-call hook through which every line goes.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>

#include "CADApplication.h"
#include "CADInteractiveApplication.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPdmWorkerCall.h"
#include "ZRBTrace.h"

namespace {

// The hook is set by tests on the user-interface thread and read by the worker thread: guarded.
std::mutex g_shellMutex;
ZRBAfx::ShellCall g_shellCall;

constexpr int kDefaultSysCallLimit = 8092;

// The connection command in force: the client's, unless the site overrides it.
std::string ConnectionCommand() {
  std::string command = ZRBGlobalProperties::Process().GetGlobalProperty("ZRB_CONNECTION_CMD").str();
  if (const char* override = g_ZRBConfig.GetEnvVar("ZRB_CONNECTPDM", 1)) command = override;
  return command;
}

int RunDirectly(const std::string& line) {
  if (ZRBTrace::IsOn()) ZRBTrace::WriteLine("Command: " + line);
  errno = 0;
  int result = ZRBAfx::RunShell(line.c_str());
  const int error = errno;
  if (result < 0 && error == ECHILD) {
    // The host may reap children itself; the PDM ran, only its status is lost.
    ZRB_DEBUG("ZRB: ignoring system call error 'ECHILD'");
    return 0;
  }
  if (result < 0) ZRB_DEBUG("SYSTEM ConnectPdm failed with %d errno: %d", result, error);
  errno = error;
  return result;
}

// The shell's own codes for a command it could not run (126 not executable, 127 not found): the PDM never
// started, which the callers must hear as a failure, not as a PDM that answered nothing.
int FailureToStart(int result, const std::string& line) {
  if (result <= 0 || !WIFEXITED(result)) return result;
  const int code = WEXITSTATUS(result);
  if (code != 126 && code != 127) return result;
  ZRB_DEBUG("ZRB: the PDM command could not be run (shell exit status %d): %s", code, line.c_str());
  errno = code == 127 ? ENOENT : EACCES;
  return -1;
}

int RunOnWorker(const std::string& line, bool& started) {
  ZRBPdmWorkerCall call(line);
  auto* interactive = CADInteractiveApplication::MainInteractiveApplication();
  auto outcome = call.Run([interactive] {
    if (interactive) interactive->UpdateDisplay();
  });
  started = outcome == ZRBPdmWorkerCall::Outcome::Ran;
  if (!started) {
    ZRB_DEBUG("ZRB: could not start the PDM call thread (error %d), running it directly", call.GetStartError());
    return 0;
  }
  ZRB_DEBUG("system ended with %d errno: %d", call.GetResult(), call.GetErrno());
  errno = call.GetErrno();
  return call.GetResult();
}

}  // namespace

void ZRBAfx::SetShellCall(ShellCall call) {
  std::lock_guard lock(g_shellMutex);
  g_shellCall = std::move(call);
}

int ZRBAfx::RunShell(const char* line) {
  ShellCall call;
  {
    std::lock_guard lock(g_shellMutex);
    call = g_shellCall;
  }
  if (call) return call(line);
  return std::system(line);
}

CADUnicodeString ZRBAfx::QuoteShellWord(const CADUnicodeString& word) {
  std::string quoted = "'";
  for (char c : word.view()) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return CADUnicodeString(std::move(quoted));
}

int ZRBAfx::ConnectPdm(const CADUnicodeString argument, int keepDisplayAlive) {
  ZRB_TRACE("ZRBAfx::ConnectPdm");
  // The connection command stays a shell fragment: sites put options in it. Paths in `argument` are quoted
  // words already (QuoteShellWord).
  const std::string line = ConnectionCommand() + " " + argument.str();

  int result = 0;
  bool ran = false;
  if (keepDisplayAlive && !g_ZRBConfig.CompareEnvVar("ZRB_DISABLE_UPDATE_DISPLAY", "ON", 1)) {
    if (!CADApplication::MainApplication()) {
      ZRB_DEBUG("Failed to get main application");
      return -1;
    }
    result = RunOnWorker(line, ran);
  }
  if (!ran) result = RunDirectly(line);

  result = FailureToStart(result, line);
  if (result >= 0) ZRB_TRACE_OK();
  return result;
}

int ZRBAfx::GetSysCallLimit() {
  long limit = ::sysconf(_SC_ARG_MAX);
  if (limit <= 0) {
    ZRB_DEBUG("Faild to get ARG_MAX using 8092 Byte");
    return kDefaultSysCallLimit;
  }
  return limit > 0x7fffffffL ? 0x7fffffff : static_cast<int>(limit);
}
