// Shared set-up of the session tests: a clean loop on the virtual clock and,
// unless a test asks otherwise, a main application.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CADCommand.h"
#include "CADEventLoop.h"
#include "CADInteractiveApplication.h"

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CADEventLoop::Instance().Reset();
    liveBefore_ = CADCommand::LiveCount();
    app_ = std::make_unique<CADInteractiveApplication>("TestSession");
  }
  void TearDown() override {
    app_.reset();
    CADEventLoop::Instance().Reset();
    EXPECT_EQ(CADCommand::LiveCount(), liveBefore_) << "a command outlived its test";
  }

  CADEventLoop& Loop() { return CADEventLoop::Instance(); }
  CADInteractiveApplication& App() { return *app_; }

  std::unique_ptr<CADInteractiveApplication> app_;
  std::size_t liveBefore_ = 0;
};

// A command that writes what happens to it into a shared journal.
class JournalCommand : public CADCommand {
 public:
  JournalCommand(const char* name, std::vector<std::string>& journal) : CADCommand(name), journal_(journal) {}
  ~JournalCommand() override { journal_.push_back(std::string("destroyed ") + GetName().c_str()); }

  static void Record(CADCommand* command, int intervalMs, void* data) {
    auto* self = static_cast<JournalCommand*>(command);
    self->journal_.push_back(std::string(static_cast<const char*>(data)) + "@" +
                             std::to_string(CADEventLoop::Instance().NowMs()) + "/" + std::to_string(intervalMs));
  }

  std::vector<std::string>& journal_;
};
