#include "DelayedDialogAction.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdlib>

#include "Journal.h"
#include "SenderClient.h"

namespace pdmsim {
namespace {
constexpr const char* kSettingKey = "dialog.auto";
}

std::optional<AutoDialogSetting> DelayedDialogAction::Load(Vault& vault) {
  auto text = vault.Setting(kSettingKey);
  if (!text) return std::nullopt;
  std::vector<std::string> parts = Journal::SplitArgs(*text);
  if (parts.size() < 2) return std::nullopt;
  AutoDialogSetting setting;
  setting.afterSeconds = std::atoi(parts.front().c_str());
  setting.dialogArgs.assign(parts.begin() + 1, parts.end());
  return setting;
}

void DelayedDialogAction::Save(Vault& vault, const AutoDialogSetting& setting) {
  std::vector<std::string> parts{std::to_string(setting.afterSeconds)};
  parts.insert(parts.end(), setting.dialogArgs.begin(), setting.dialogArgs.end());
  vault.SetSetting(kSettingKey, Journal::JoinArgs(parts));
}

void DelayedDialogAction::Clear(Vault& vault) { vault.RemoveSetting(kSettingKey); }

void DelayedDialogAction::StartIfConfigured(Vault& vault, std::int64_t dialogId) {
  auto setting = Load(vault);
  std::string self = SenderClient::SelfPath();
  if (!setting || self.empty()) return;
  std::vector<std::string> args{self,
                                "--vault",
                                vault.Directory(),
                                "dialog",
                                setting->dialogArgs.front(),
                                "--dialog",
                                std::to_string(dialogId),
                                "--after",
                                std::to_string(setting->afterSeconds)};
  args.insert(args.end(), setting->dialogArgs.begin() + 1, setting->dialogArgs.end());
  std::string log = vault.Directory() + "/auto.log";
  std::vector<char*> raw;
  for (std::string& arg : args) raw.push_back(arg.data());
  raw.push_back(nullptr);

  // Double fork: the completion outlives this call without becoming a
  // zombie of the CAD session, and holds none of its descriptors.
  pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(0);
    int in = ::open("/dev/null", O_RDONLY);
    int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (in >= 0) ::dup2(in, STDIN_FILENO);
    if (out >= 0) {
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
    }
    for (int fd = 3; fd < 1024; ++fd) ::close(fd);
    ::execv(self.c_str(), raw.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
}

}  // namespace pdmsim
