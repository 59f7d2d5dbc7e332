#include "ZRBPackCommand.h"

#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"

namespace {
// One argument of "sh -c" may hold 131,072 bytes on Linux whatever ARG_MAX says; the margin keeps the line clear
// of the terminating byte and the shell's own words.
constexpr int kShellArgumentLimit = 131072;
constexpr int kLineMargin = 512;
}  // namespace

std::string ZRBPackCommand::Setting(const char* setting, const char* fallback) {
  const char* value = g_ZRBConfig.GetEnvVar(setting, 1);
  return value && *value ? std::string(value) : std::string(fallback);
}

std::string ZRBPackCommand::Word(const std::string& path) {
  return " " + ZRBAfx::QuoteShellWord(CADUnicodeString(path)).str();
}

int ZRBPackCommand::LineLimit(const char* setting, int garbageMeansDefault) {
  const std::string configured = Setting(setting, "");
  // The system's limit counts the environment and every argument; one argument of "sh -c" holds at most the
  // shell limit: the smaller of both, less the margin.
  int limit = std::min(ZRBAfx::GetSysCallLimit(), kShellArgumentLimit) - kLineMargin;
  if (!configured.empty()) {
    int value = 0;
    auto [end, error] = std::from_chars(configured.data(), configured.data() + configured.size(), value);
    if (error != std::errc() || end != configured.data() + configured.size() || value <= 0) {
      ZRB_DEBUG("ZRB: ConvertToNum failed '%s'", configured.c_str());
      if (!garbageMeansDefault) return 0;
    } else {
      limit = std::min(value, kShellArgumentLimit - kLineMargin);
    }
  }
  limit = std::max(limit, 1);
  ZRB_DEBUG("ZRB: usZipMaxCommandLine '%s' %d", configured.c_str(), limit);
  return limit;
}

std::vector<std::string> ZRBPackCommand::BuildLines(const std::string& first, const std::string& add,
                                                    const std::vector<std::string>& files, int limit) {
  std::vector<std::string> lines;
  const auto fits = [limit](const std::string& line) { return line.size() < static_cast<size_t>(limit); };
  for (const auto& file : files) {
    const std::string word = Word(file);
    if (!lines.empty() && fits(lines.back() + word)) {
      lines.back() += word;
      continue;
    }
    lines.push_back((lines.empty() ? first : add) + word);
    if (!fits(lines.back())) {
      ZRB_DEBUG("ZRB: '%s' does not fit a command line of %d bytes", file.c_str(), limit);
      return {};
    }
  }
  return lines;
}

int ZRBPackCommand::RunLine(const std::string& line, const char* what, int highestGood) {
  ZRB_DEBUG("ActZipCommand: '%s'-", line.c_str());
  errno = 0;
  const int result = ZRBAfx::RunShell(line.c_str());
  if (result < 0) {
    ZRB_DEBUG("SYSTEM %s failed with %d errno: %d", what, result, errno);
    if (errno == ECHILD) {
      ZRB_DEBUG("ZRB: ignoring system call error 'ECHILD'");
      return 1;
    }
    return 0;
  }
  if (WIFEXITED(result) && WEXITSTATUS(result) <= highestGood && WEXITSTATUS(result) < 126) return 1;
  ZRB_DEBUG("SYSTEM %s ended with status %d", what, WIFEXITED(result) ? WEXITSTATUS(result) : -1);
  return 0;
}
