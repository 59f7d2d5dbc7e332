#include "CommandFixture.h"

#include "CADCommand.h"
#include "ZRBAfx.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBInfoUtil.h"
#include "ZRBModComm.h"
#include "ZRBPdmWorkerCall.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

int RecordingShell::Run(const char* line) {
  Answer answer;
  {
    std::lock_guard lock(mutex_);
    lines_.emplace_back(line ? line : "");
    answer = answer_;
  }
  return answer ? answer(line ? line : "") : 0;
}

std::vector<std::string> RecordingShell::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

void RecordingShell::SetAnswer(Answer answer) {
  std::lock_guard lock(mutex_);
  answer_ = std::move(answer);
}

void RecordingShell::Clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

void CommandFixture::ResetModuleState() {
  g_ZRBConfig.ResetForTests();
  ZRBGlobalProperties::Process().Reset();
  GlobPropertyManager.ResetForTests();
  ZRBModComm::ResetStatus();
  ZRBInfoUtil::ResetForTests();
  ZRBPdmWorkerCall::FailNextStartForTests(0);
}

void CommandFixture::SetUp() {
  CADEventLoop::Instance().Reset();
  liveBefore_ = CADCommand::LiveCount();
  app_ = std::make_unique<CADInteractiveApplication>("CommandTestSession");
  dialogs_.Start();
  ResetModuleState();
  // No test raises real windows.
  SetVariable("ZRB_DISABLE_WM_SUPPORT", "ON");
  shell_ = std::make_shared<RecordingShell>();
  std::weak_ptr<RecordingShell> shell = shell_;
  ZRBAfx::SetShellCall([shell](const char* line) {
    auto alive = shell.lock();
    return alive ? alive->Run(line) : 0;
  });
}

void CommandFixture::TearDown() {
  CADEventLoop::Instance().RunPending();
  EXPECT_EQ(CADEventLoop::Instance().PendingTimeOuts(), 0u) << "a timer outlived its test";
  EXPECT_TRUE(ZRBGlobalProperties::Process().GetRunningCommandRegistry().IsEmpty())
      << "a command is still registered as waiting";
  app_.reset();
  CADEventLoop::Instance().Reset();
  EXPECT_EQ(CADCommand::LiveCount(), liveBefore_) << "a command outlived its test";
  ZRBAfx::SetShellCall(nullptr);
  ZRBTrace::SetStream(nullptr);
  ResetModuleState();
  dialogs_.Finish();
}

void CommandFixture::UseRealShell() { ZRBAfx::SetShellCall(nullptr); }

void CommandFixture::SetVariable(const char* name, const char* value) { g_ZRBConfig.ChangeEnvVar(name, value, 0); }

void CommandFixture::CaptureTrace() {
  g_ZRBConfig.SetDebug(1);
  ZRBTrace::SetStream(&trace_);
}
