// Test support for module commands: a clean event loop on the virtual clock with an interactive main
// application, the module's process-wide state at its start values (configuration, global properties and the
// waiting-command registry, the module-communication status, the property manager), the host dialog setup, a
// shell that records every command line instead of running it, and a captured trace. At the end of each test no
// command may be alive, no timer pending and no command registered as waiting.
//
//   class MyTest : public CommandFixture {};
//   TEST_F(MyTest, X) { ...; EXPECT_EQ(ShellLines(), (std::vector<std::string>{"pdmcl -b -- PdmSessn ..."})); }
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CADEventLoop.h"
#include "CADInteractiveApplication.h"
#include "HostDialogFixture.h"
#include "ZRBClientMode.h"

// Readable failure output for client modes: {"SAM_", "samcl", "SAM"}.
inline void PrintTo(const ZRBClientMode& mode, std::ostream* out) {
  *out << "{\"" << mode.GetModulePrefix() << "\", \"" << mode.GetConnectionCommand() << "\", \""
       << mode.GetMessagePrefix() << "\"}";
}

// Stands in for the shell: records each line (from any thread) and answers with a configurable result.
class RecordingShell {
 public:
  // The result for a line; it may set errno. Default: 0 (the PDM ran and ended well).
  using Answer = std::function<int(const std::string& line)>;

  int Run(const char* line);
  std::vector<std::string> Lines() const;
  void SetAnswer(Answer answer);
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  Answer answer_;
};

class CommandFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // --- session
  CADEventLoop& Loop() { return CADEventLoop::Instance(); }
  CADInteractiveApplication& App() { return *app_; }
  // Ends the main application (for the paths without one).
  void DropApplication() { app_.reset(); }

  // --- shell
  std::vector<std::string> ShellLines() const { return shell_->Lines(); }
  void SetShellAnswer(RecordingShell::Answer answer) { shell_->SetAnswer(std::move(answer)); }
  void ClearShellLines() { shell_->Clear(); }
  // Lets command lines reach the real shell (system(3)).
  void UseRealShell();

  // --- configuration: a variable as the module reads it (no prefix is added)
  static void SetVariable(const char* name, const char* value);

  // --- trace
  void CaptureTrace();
  std::string Trace() const { return trace_.str(); }
  bool TraceHas(std::string_view text) const { return trace_.str().find(text) != std::string::npos; }

  // --- dialogs
  HostDialogSetup& Dialogs() { return dialogs_; }
  void ExpectBox(const CADString& key, int answer) { dialogs_.ExpectBox(key, answer); }

 private:
  static void ResetModuleState();

  std::unique_ptr<CADInteractiveApplication> app_;
  std::shared_ptr<RecordingShell> shell_;
  HostDialogSetup dialogs_;
  std::ostringstream trace_;
  std::size_t liveBefore_ = 0;
};
