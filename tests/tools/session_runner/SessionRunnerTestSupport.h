// Runs the built zrbsession for the runner's tests: a scratch directory with
// the sample session, a script file, and the run's exit status and output.
#pragma once

#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "ToolRun.h"

using SessionRun = ToolRun;

class SessionScratch {
 public:
  SessionScratch();
  ~SessionScratch();
  SessionScratch(const SessionScratch&) = delete;
  SessionScratch& operator=(const SessionScratch&) = delete;

  const std::string& Dir() const { return dir_; }
  std::string Sample(const std::string& file) const { return dir_ + "/sample/" + file; }
  // Runs `zrbsession --script` on `lines` with the probe plugin and this
  // directory's exchange map, settings and work folder.
  SessionRun RunScript(const std::vector<std::string>& lines, const std::vector<std::string>& extraArgs = {}) const;
  std::vector<std::string> SessionArgs() const;
  static std::string Binary() { return std::string(ZRB_BIN_DIR) + "/zrbsession"; }
  static std::string ReadFile(const std::string& path) { return ReadBytes(path); }

 private:
  std::string dir_;
};
