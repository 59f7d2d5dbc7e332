// Runs a built program of the build's bin/ directory without a shell and
// collects its exit status and both output streams.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ToolRun {
  int exitCode = -1;  // 128 + signal when the program was killed
  std::string out;
  std::string err;
};

// `program` is a name in bin/ or a full path; `env` adds to or replaces the
// inherited environment.
ToolRun RunBuiltTool(const std::string& program, const std::vector<std::string>& args,
                     const std::map<std::string, std::string>& env = {});
