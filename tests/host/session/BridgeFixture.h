// Session tests that talk to a live automation bridge: a private socket
// directory and the fake component.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CADAutomationBridge.h"
#include "FakeModComm.h"
#include "SessionFixture.h"
#include "XmapScratchDirectory.h"

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

  XmapScratchDirectory scratch_;
  const std::string dir_ = scratch_.Root();
  std::string socketPath_;
  std::unique_ptr<CADAutomationBridge> bridge_;
};
