#include "SessionRunnerTestSupport.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CADSampleSession.h"

namespace fs = std::filesystem;

SessionScratch::SessionScratch() {
  std::string pattern = (fs::temp_directory_path() / "zrbsession-test-XXXXXX").string();
  if (mkdtemp(pattern.data())) dir_ = pattern;
  fs::create_directories(dir_ + "/sample");
  CADUnicodeString error;
  CADSampleSession::Write((dir_ + "/sample").c_str(), error);
}

SessionScratch::~SessionScratch() {
  std::error_code ec;
  if (!dir_.empty()) fs::remove_all(dir_, ec);
}

std::vector<std::string> SessionScratch::SessionArgs() const {
  return {"--no-colour",      "--plugin",     std::string(ZRB_LIB_DIR) + "/libZRBSessionProbe.so",
          "--xmap",           dir_ + "/xmap", "--settings",
          dir_ + "/settings", "--workdir",    dir_ + "/new"};
}

SessionRun SessionScratch::RunScript(const std::vector<std::string>& lines,
                                     const std::vector<std::string>& extraArgs) const {
  const std::string script = dir_ + "/test.zrbs";
  std::ofstream out(script, std::ios::trunc);
  for (const std::string& line : lines) out << line << '\n';
  out.close();
  std::vector<std::string> args = SessionArgs();
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  args.insert(args.end(), {"--script", script});
  return RunBuiltTool(Binary(), args, {{"SESSION_TEST_DIR", dir_}});
}
