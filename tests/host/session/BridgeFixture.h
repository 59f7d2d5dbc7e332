// Session tests that talk to a live automation bridge: a private socket
// directory, the fake component, and a way to run the built ZRBSender.
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CADAutomationBridge.h"
#include "FakeModComm.h"
#include "SessionFixture.h"
#include "XmapScratchDirectory.h"

struct SenderRun {
  int exitCode = -1;
  std::string output;  // stdout and stderr together
};

class BridgeTest : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    FakeModComm::Reset();
    socketPath_ = dir_ + "/session.sock";
    bridge_ = std::make_unique<CADAutomationBridge>(FakeModComm::kClassName);
  }
  void TearDown() override {
    bridge_.reset();
    FakeModComm::Reset();
    SessionTest::TearDown();
  }

  void StartBridge() {
    std::string error;
    ASSERT_EQ(bridge_->Start(socketPath_, &error), S_OK) << error;
  }

  // Runs ZRBSender with `arguments` (each passed as one word) in a shell
  // that inherits this process's environment, prefixed by `environment`.
  static SenderRun RunSender(const std::vector<std::string>& arguments, const std::string& environment = "") {
    std::string command = environment + " " + std::string(ZRB_BIN_DIR) + "/ZRBSender";
    for (const std::string& argument : arguments) {
      std::string quoted = "'";
      for (char c : argument) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
      command += " " + quoted + "'";
    }
    command += " 2>&1";
    SenderRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  XmapScratchDirectory scratch_;
  const std::string dir_ = scratch_.Root();
  std::string socketPath_;
  std::unique_ptr<CADAutomationBridge> bridge_;
};
