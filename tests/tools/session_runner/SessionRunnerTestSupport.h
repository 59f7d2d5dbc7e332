// Runs the built zrbsession as a child process for the runner's tests: a
// scratch directory with the sample session, a script file, and the exit
// status and output of the run.
#pragma once

#include <string>
#include <vector>

struct SessionRun {
  int exitStatus = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

class SessionScratch {
 public:
  SessionScratch();
  ~SessionScratch();
  SessionScratch(const SessionScratch&) = delete;
  SessionScratch& operator=(const SessionScratch&) = delete;

  const std::string& Dir() const { return dir_; }
  std::string Sample(const std::string& file) const { return dir_ + "/sample/" + file; }
  // Writes `lines` as a script and runs `zrbsession --script` on it with the
  // probe plugin and this directory's exchange map, settings and work folder.
  SessionRun RunScript(const std::vector<std::string>& lines, const std::vector<std::string>& extraArgs = {}) const;
  // The runner's arguments for a session in this directory.
  std::vector<std::string> SessionArgs() const;
  static std::string Binary();
  static std::string ProbePlugin();
  static std::string ReadFile(const std::string& path);

 private:
  std::string dir_;
};
