// Commands that drive the module and its dialogs: start a command by class
// name, answer message boxes, act on dialogs, wait, run a shell command (to act
// as the PDM user), automation calls, trace switch.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "CADAutomationDispatcher.h"
#include "CADAutomationRequest.h"
#include "CADClassDictionary.h"
#include "CADCommand.h"
#include "CADDlgBoxScript.h"
#include "CADDlgDialog.h"
#include "CADDlgEditor.h"
#include "CADDlgNotify.h"
#include "CADDlgRowList.h"
#include "CADDlgTabContainer.h"
#include "CADDlgTabPage.h"
#include "CADEventLoop.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBSessionCommandTable.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionRunner.h"
#include "ZRBSessionWords.h"

namespace {

constexpr double kDefaultWaitSeconds = 30;

bool ParseSeconds(const std::string& text, double& seconds) {
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0' && seconds >= 0 && seconds <= 24 * 3600;
}

bool ParseRow(const std::string& text, int& row) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || !end || *end != '\0' || value < 0 || value > 1'000'000) return false;
  row = static_cast<int>(value);
  return true;
}

std::string ShellQuote(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool Start(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const std::string& className = args[0];
  if (!CADClassDictionary::Contains(className)) return runner.Fail("no class \"" + className + "\" is registered");
  CADClassArgument argument;
  if (args.size() == 2) argument = CADString(args[1].c_str());
  CADCommand* command = CADClassDictionary::CreateAs<CADCommand>(className, argument);
  if (!command) return runner.Fail("\"" + className + "\" made no command from that argument");
  runner.Out().Line("started " + className + (args.size() == 2 ? " " + args[1] : std::string()));
  // As the host does: the command owns itself from here and ends through its
  // own delayed destruction.
  command->Activate(nullptr, nullptr);
  return true;
}

int AnswerFromWord(const std::string& word) {
  if (word == "ok") return CADDlgNfyAnswerOK;
  if (word == "cancel") return CADDlgNfyAnswerCancel;
  if (word == "yes") return CADDlgNfyAnswerYes;
  if (word == "no") return CADDlgNfyAnswerNo;
  return 0;
}

bool Answer(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const int answer = AnswerFromWord(args[0]);
  if (!answer) return runner.Fail("answer with ok, cancel, yes or no");
  if (args.size() == 3 && args[1] == "--key") {
    if (!CADDlgBoxScript::ExpectKey(args[2].c_str(), answer))
      return runner.Fail("no message key \"" + args[2] + "\" in the catalogs");
    return true;
  }
  if (args.size() > 2) return runner.Fail("usage: answer ok|cancel|yes|no [PATTERN | --key Catalog.Key]");
  CADDlgBoxScript::ExpectText(args.size() == 2 ? CADUnicodeString(args[1].c_str()) : CADUnicodeString("*"), answer);
  return true;
}

bool Dialog(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADDialogDriver& driver = runner.Driver();
  const std::string& dialog = args[0];
  if (!driver.IsOpen(dialog)) return runner.Fail("no open dialog \"" + dialog + "\" (see `dialogs`)");
  const std::string& action = args[1];
  auto need = [&](std::size_t count, const char* usage) {
    if (args.size() == count) return true;
    runner.Fail(std::string("usage: dialog ") + dialog + " " + usage);
    return false;
  };
  if (action == "ok") return need(2, "ok") && driver.PressWindowButton(dialog, CADDlgEvent::OK);
  if (action == "cancel") return need(2, "cancel") && driver.PressWindowButton(dialog, CADDlgEvent::Cancel);
  if (action == "apply") return need(2, "apply") && driver.PressWindowButton(dialog, CADDlgEvent::Apply);
  if (action == "close") return need(2, "close") && driver.PressWindowButton(dialog, CADDlgEvent::Close);
  if (action == "close-window") return need(2, "close-window") && driver.CloseWindow(dialog);
  if (action == "show") {
    runner.Out().Line(CADDialogDriver::Describe(*driver.FindDialog(dialog)));
    return true;
  }
  if (action == "push") return need(3, "push BUTTON") && driver.Push(dialog, args[2]);
  if (action == "tab") return need(3, "tab PAGE") && driver.SelectTab(dialog, args[2]);
  if (action == "type") return need(4, "type EDITOR TEXT") && driver.TypeText(dialog, args[2], args[3].c_str());
  if (action == "file") return need(3, "file PATH") && driver.ChooseFile(dialog, args[2].c_str());
  if (action == "check") {
    if (!need(4, "check BOX on|off")) return false;
    if (args[3] != "on" && args[3] != "off") return runner.Fail("check takes on or off");
    return driver.SetCheck(dialog, args[2], args[3] == "on");
  }
  if (action == "combo" || action == "activate") {
    int line = 0;
    if (!need(4, action == "combo" ? "combo COMBO LINE" : "activate LIST ROW")) return false;
    if (!ParseRow(args[3], line)) return runner.Fail("not a row number: " + args[3]);
    return action == "combo" ? driver.SelectComboLine(dialog, args[2], line)
                             : driver.ActivateRow(dialog, args[2], line);
  }
  if (action == "select" || action == "choose") {
    if (args.size() < 4) return runner.Fail("usage: dialog " + dialog + " " + action + " LIST ROW|TEXT...");
    std::vector<int> rows;
    const int count = driver.GetRowCount(dialog, args[2]);
    for (std::size_t i = 3; i < args.size(); ++i) {
      int row = -1;
      if (action == "select") {
        if (!ParseRow(args[i], row)) return runner.Fail("not a row number: " + args[i]);
      } else {
        for (int r = 0; r < count; ++r)
          if (driver.GetCell(dialog, args[2], r, 0).str() == args[i]) row = r;
        if (row < 0) return runner.Fail("list " + args[2] + " has no row \"" + args[i] + "\"");
      }
      if (row >= count) return runner.Fail("list " + args[2] + " has " + std::to_string(count) + " rows");
      rows.push_back(row);
    }
    return driver.SelectRows(dialog, args[2], rows);
  }
  return runner.Fail("unknown dialog action \"" + action + "\" (see `help dialog`)");
}

bool Wait(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const std::string& what = args[0];
  const bool takesWord = what == "status" || what == "dialog" || what == "closed";
  if (!takesWord && what != "idle") return runner.Fail("wait idle|status WORD|dialog ID|closed ID [SECONDS]");
  const std::size_t secondsAt = takesWord ? 2 : 1;
  if (takesWord && args.size() < 2) return runner.Fail("usage: wait " + what + " WORD [SECONDS]");
  if (args.size() > secondsAt + 1)
    return runner.Fail("usage: wait " + what + (takesWord ? " WORD" : "") + " [SECONDS]");
  double seconds = kDefaultWaitSeconds;
  if (args.size() == secondsAt + 1 && !ParseSeconds(args[secondsAt], seconds))
    return runner.Fail("not a time-out in seconds: " + args[secondsAt]);
  const std::string word = takesWord ? args[1] : std::string();
  std::function<bool()> done;
  if (what == "idle") done = [] { return CADCommand::LiveCount() == 0; };
  if (what == "status") done = [word] { return ZRBSessionRunner::StatusWord() == word; };
  if (what == "dialog") done = [&runner, word] { return runner.Driver().IsOpen(word); };
  if (what == "closed") done = [&runner, word] { return !runner.Driver().IsOpen(word); };
  if (runner.WaitUntil(done, static_cast<std::int64_t>(seconds * 1000))) return true;
  std::string detail;
  if (what == "idle") {
    CADListValCADString names = CADCommand::LiveNames();
    for (int i = 1; i <= names.Size(); ++i) detail += (i > 1 ? ", " : " (still running: ") + names[i].str();
    if (!detail.empty()) detail += ")";
  }
  if (what == "status") detail = " (status is \"" + ZRBSessionOutput::Visible(ZRBSessionRunner::StatusWord()) + "\")";
  return runner.Fail("time-out after " + ZRBSessionOutput::Number(seconds) + " s waiting for " +
                     ZRBSessionWords::Join(args, 0) + detail);
}

bool Shell(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  // One word is a shell line as written; several words are quoted one by one.
  std::string line = args[0];
  if (args.size() > 1) {
    line.clear();
    for (const std::string& word : args) line += (line.empty() ? "" : " ") + ShellQuote(word);
  }
  std::cout << std::flush;
  const pid_t child = fork();
  if (child < 0) return runner.Fail("cannot start a shell");
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  // The session keeps running while the PDM user acts: its automation calls
  // are performed as they arrive.
  int status = 0;
  bool reaped = false;
  auto exited = [&] {
    if (reaped) return true;
    const pid_t done = waitpid(child, &status, WNOHANG);
    reaped = done == child || (done < 0 && errno != EINTR);
    return reaped;
  };
  while (!runner.WaitUntil(exited, 3'600'000)) {
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  if (WIFEXITED(status)) return runner.Fail("shell command exited with " + std::to_string(WEXITSTATUS(status)));
  return runner.Fail("shell command ended abnormally");
}

bool Automation(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  CADListValCADUnicodeString arguments;
  for (std::size_t i = 1; i < args.size(); ++i) arguments.Append(args[i].c_str());
  CADAutomationRequest request(args[0].c_str(), arguments);
  int result = 0;
  const HRESULT hr =
      CADAutomationDispatcher::Perform(runner.Host().GetBridge().GetDispatcher().GetComponentClass(), request, result);
  if (FAILED(hr)) return runner.Fail("automation call " + args[0] + " failed");
  runner.Out().Line(args[0] + " -> " + std::to_string(result));
  return true;
}

bool Status(ZRBSessionRunner& runner, const ZRBSessionArgs&) {
  const std::string status = ZRBSessionRunner::StatusWord();
  runner.Out().Line("status: " + (status.empty() ? std::string("(none)") : ZRBSessionOutput::Visible(status)));
  runner.Out().Line("running commands: " + std::to_string(CADCommand::LiveCount()));
  return true;
}

bool Trace(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  if (args[0] != "on" && args[0] != "off") return runner.Fail("usage: trace on|off");
  g_ZRBConfig.SetDebug(args[0] == "on" ? 1 : 0);
  runner.Out().Line(std::string("trace ") + (g_ZRBConfig.GetDebug() ? "on" : "off"));
  return true;
}

bool Classes(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  const CADListValCADString names = CADClassDictionary::ListNames();
  std::vector<std::string> shown;
  for (int i = 1; i <= names.Size(); ++i)
    if (args.empty() || names[i].view().find(args[0]) != std::string_view::npos) shown.push_back(names[i].str());
  // Four to a line, aligned.
  std::vector<std::vector<std::string>> rows = {{"CLASS"}};
  for (std::size_t i = 0; i < shown.size(); i += 4) {
    std::vector<std::string> row;
    for (std::size_t k = i; k < i + 4 && k < shown.size(); ++k) row.push_back(shown[k]);
    rows.push_back(row);
  }
  runner.Out().Table(rows);
  runner.Out().Note(std::to_string(shown.size()) + " registered classes; `start CLASS [ARGUMENT]` starts a command");
  return true;
}

bool Sleep(ZRBSessionRunner& runner, const ZRBSessionArgs& args) {
  double seconds = 0;
  if (!ParseSeconds(args[0], seconds)) return runner.Fail("not a time in seconds: " + args[0]);
  runner.WaitUntil([] { return false; }, static_cast<std::int64_t>(seconds * 1000));
  return true;
}

}  // namespace

namespace {
// The info dialog as the designer sees it: the message, the page shown, the table's rows and the single page's
// information lines; null while it is not open.
ZRBSessionJson InfoDialogJson() {
  CADDlgDialog* dialog = nullptr;
  for (CADDlgDialog* window : CADDlgDialog::GetOpenWindows())
    if (window->GetName() == "ZRBInfoDialog") dialog = window;
  if (!dialog) return nullptr;
  auto text = [dialog](const char* id) {
    CADDialog* control = dialog->FindDescendant(id);
    auto* editor = dynamic_cast<CADDlgEditor*>(control);
    return editor ? editor->GetText().str() : control ? control->GetTitle().str() : std::string();
  };
  ZRBSessionJson rows = ZRBSessionJson::array();
  if (auto* table = dynamic_cast<CADDlgRowList*>(dialog->FindDescendant("ZRBMultiInformationTable"))) {
    for (int r = 0; r < table->GetRowCount(); ++r) {
      ZRBSessionJson row = ZRBSessionJson::array();
      for (int c = 0; c < table->GetColumnCount(); ++c) row.push_back(table->GetCell(r, c).str());
      rows.push_back(std::move(row));
    }
  }
  auto* tabs = dynamic_cast<CADDlgTabContainer*>(dialog->FindDescendant("ZRBInfoTabContainer"));
  ZRBSessionJson lines = ZRBSessionJson::array();
  if (auto* editor = dynamic_cast<CADDlgEditor*>(dialog->FindDescendant("ZRBInformationLines")))
    for (const CADUnicodeString& line : editor->GetLines()) lines.push_back(line.str());
  return {{"message", text("ZRBMessageText")},
          {"page", tabs && tabs->GetSelectedPage() ? tabs->GetSelectedPage()->GetName().str() : std::string()},
          {"rows", std::move(rows)},
          {"partNumber", text("ZRBPartnumberText")},
          {"information", text("ZRBInformationLabel")},
          {"lines", std::move(lines)}};
}
}  // namespace

void ZRBSessionCommandTable::AddModuleCommands(ZRBSessionCommandTable& table) {
  const auto any = ZRBSessionCommand::kAnyCount;
  table.Add({"start", "start CLASS [ARGUMENT]", "start a module command by class name",
             "Creates the command through the class dictionary (ZRBReadCmd, ZRBAddTempCmd ...) with its argument "
             "(a mode or a text) and activates it, as the host does.",
             1, 2, Start});
  table.Add({"answer", "answer ok|cancel|yes|no [PATTERN | --key Catalog.Key]",
             "answer the next message box (give this before the step that shows it)",
             "PATTERN is matched against the whole text, '*' standing for any run of characters. In a script a box "
             "nobody expected fails the step.",
             1, 3, Answer});
  table.Add({"dialog", "dialog ID ACTION ...", "act on an open dialog",
             "Actions: ok | cancel | apply | close | close-window | show | push BUTTON | select LIST ROW... | "
             "choose LIST TEXT... (rows by their first column) | activate LIST ROW | check BOX on|off | "
             "type EDITOR TEXT | tab PAGE | combo COMBO LINE | file PATH. Rows count from 0.",
             2, any, Dialog});
  table.Add({"wait", "wait idle|status WORD|dialog ID|closed ID [SECONDS]",
             "let the session run until no command runs, a status word is set or a dialog opens or closes",
             "The time-out defaults to 30 seconds; running out of it fails the step.", 1, 3, Wait});
  table.Add({"shell", "shell COMMAND [WORD...]", "run a shell command (act as the PDM user: pdmsim ...)",
             "One word is run as a shell line; several words are passed as they are. The session keeps serving the "
             "PDM's automation calls while it runs. A non-zero exit status fails the step.",
             1, any, Shell});
  table.Add({"automation", "automation VERB [ARGUMENT...]", "call the automation component as the PDM side does",
             "VERB StartCmd, SetStatus, GetStatus, WriteXml or SetUseDesignTables.", 1, any, Automation});
  table.Add({"classes", "classes [TEXT]", "the classes registered in the host's class dictionary (the catalogue)",
             "TEXT keeps the names that contain it.", 0, 1, Classes});
  table.Add({"status", "status", "the module's status word and the number of running commands", "", 0, 0, Status});
  table.Add({"trace", "trace on|off", "switch the module's trace lines on or off", "", 1, 1, Trace});
  table.Add({"sleep", "sleep SECONDS", "let the session run for a while", "", 1, 1, Sleep});
  table.AddDumpSection([](ZRBSessionRunner&, ZRBSessionJson& dump) { dump["infoDialog"] = InfoDialogJson(); });
}
