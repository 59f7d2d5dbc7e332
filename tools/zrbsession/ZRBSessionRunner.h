// Runs session commands against the live session: one line at a time, from a
// script (stopping at the first failed step or unexpected message box), from
// an interactive prompt, or serving the PDM side until interrupted. Keeps the
// event loop turning between steps and shows dialogs and boxes as they open.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "CADDialogDriver.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionMessageCentres.h"
#include "ZRBSessionOutput.h"

class ZRBSessionHost;
class CADDlgDialog;

// Everything here runs on the session thread (the loop's thread).
class ZRBSessionRunner {
 public:
  // --- lifecycle
  ZRBSessionRunner(ZRBSessionHost& host, ZRBSessionOutput& output);
  ~ZRBSessionRunner();
  ZRBSessionRunner(const ZRBSessionRunner&) = delete;
  ZRBSessionRunner& operator=(const ZRBSessionRunner&) = delete;

  // --- modes; each returns the process exit status
  // `dumpPath`: the dump is written there when the script ends, whether its steps succeeded or not.
  int RunScript(const std::string& path, const std::string& dumpPath = "");
  int RunInteractive();
  int Serve();

  // --- one step: false when it failed (the reason is already shown)
  bool Execute(std::string_view line);

  // --- for the commands
  ZRBSessionHost& Host() { return host_; }
  ZRBSessionOutput& Out() { return output_; }
  CADDialogDriver& Driver() { return driver_; }
  const ZRBSessionCommandTable& Commands() const { return table_; }
  // Shows `message` as the step's error and returns false.
  bool Fail(std::string_view message);
  // Runs what is due now, then reports new dialogs and boxes.
  void Settle();
  // Runs the loop until `done` holds or `timeoutMs` passed; whether it held.
  bool WaitUntil(const std::function<bool()>& done, std::int64_t timeoutMs);
  void RequestQuit() { quit_ = true; }
  bool IsStrict() const { return strict_; }
  // The current status word of the module-communication component.
  static std::string StatusWord();
  // Message centres seen so far.
  const ZRBSessionMessageCentres& MessageCentres() const { return centres_; }
  // Message texts are shown by their catalog key where one is known (--message-keys).
  void ShowMessageKeys(bool keys) { messageKeys_ = keys; }
  std::string Shown(const ZRBSessionMessageLine& line) const {
    return messageKeys_ && !line.key.empty() ? line.key : line.text;
  }

 private:
  int RunScriptSteps(const std::string& path);
  void ReportNewWindows();
  bool CheckUnexpectedBoxes();
  void ShowWindow(CADDlgDialog& window);

  ZRBSessionHost& host_;
  ZRBSessionOutput& output_;
  ZRBSessionCommandTable table_;
  CADDialogDriver driver_;
  ZRBSessionMessageCentres centres_;
  std::set<const CADDlgDialog*> shownWindows_;
  std::size_t unexpectedSeen_ = 0;
  std::size_t driverFailuresSeen_ = 0;
  bool strict_ = false;    // script mode: an unexpected box fails the step
  bool boxAsked_ = false;  // the user was just asked about the box being reported (and saw its text)
  bool quit_ = false;
  bool messageKeys_ = false;
};
