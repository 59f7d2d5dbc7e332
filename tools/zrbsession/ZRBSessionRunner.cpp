#include "ZRBSessionRunner.h"

#include <poll.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iostream>

#include "CADAutomationSnapshot.h"
#include "CADDlgBoxScript.h"
#include "CADDlgDialog.h"
#include "CADDlgReaper.h"
#include "CADEventLoop.h"
#include "ZRBSessionBoxAsker.h"
#include "ZRBSessionHost.h"
#include "ZRBSessionWords.h"

namespace {

const char* AnswerName(int answer) {
  switch (answer) {
    case 1:
      return "OK";
    case 2:
      return "Cancel";
    case 3:
      return "Yes";
    case 4:
      return "No";
    default:
      return "?";
  }
}

void QuitLoop(int) { CADEventLoop::Instance().Quit(); }

}  // namespace

ZRBSessionRunner::ZRBSessionRunner(ZRBSessionHost& host, ZRBSessionOutput& output)
    : host_(host), output_(output), table_(ZRBSessionCommandTable::Standard()) {
  // Driver failures become the step's error; Settle shows them.
  driver_.SetFailureHandler([](const std::string&) {});
  CADDlgBoxScript::SetObserver([this](const CADDlgBoxRecord& box) {
    if (boxAsked_) {
      boxAsked_ = false;
      output_.Line(std::string("  -> ") + AnswerName(box.answer));
      return;
    }
    std::string line = output_.Paint("message box", ZRBSessionOutput::Tone::Accent);
    if (!box.title.IsEmpty()) line += " \"" + box.title.str() + "\"";
    line += ": " + Shown(ZRBSessionMessageCentres::Line(box.text.str())) + "\n  -> " + AnswerName(box.answer);
    if (!box.expected) line += output_.Paint(" (unexpected; the safe default)", ZRBSessionOutput::Tone::Warn);
    output_.Line(line);
  });
  // What the PDM side asks through the automation bridge, as it happens.
  host_.GetBridge().GetDispatcher().SetObserver([this](const CADAutomationRequest& request, HRESULT hr, int result) {
    // Words from outside are shown with their control characters escaped: a status word must not move the
    // terminal's cursor or fake a line of its own.
    std::string text = ZRBSessionOutput::Visible(request.GetVerb().str());
    for (int i = 1; i <= request.GetArguments().Size(); ++i)
      text += " " + ZRBSessionOutput::Visible(request.GetArguments()[i].str());
    output_.Line(output_.Paint("PDM -> session: ", ZRBSessionOutput::Tone::Accent) + text +
                 (SUCCEEDED(hr) ? " (" + std::to_string(result) + ")" : " (failed)"));
  });
}

ZRBSessionRunner::~ZRBSessionRunner() {
  CADDlgBoxScript::SetObserver(nullptr);
  host_.GetBridge().GetDispatcher().SetObserver(nullptr);
}

std::string ZRBSessionRunner::StatusWord() {
  std::string status;
  CADAutomationSnapshot::Read("ZRBModComm", "Status", status);
  return status;
}

bool ZRBSessionRunner::Fail(std::string_view message) {
  output_.Error(message);
  return false;
}

void ZRBSessionRunner::ShowWindow(CADDlgDialog& window) {
  std::string title = window.GetTitle().str();
  output_.Line(output_.Paint("dialog opened: ", ZRBSessionOutput::Tone::Accent) + window.GetName().str() +
               (title.empty() ? "" : "  \"" + title + "\""));
  std::string outline = CADDialogDriver::Describe(window);
  std::string buttons;
  if (window.HasWindowButton(CADDlgEvent::OK)) buttons += " ok";
  if (window.HasWindowButton(CADDlgEvent::Cancel)) buttons += " cancel";
  if (window.HasWindowButton(CADDlgEvent::Apply)) buttons += " apply";
  if (window.HasWindowButton(CADDlgEvent::Close)) buttons += " close";
  std::size_t start = 0;
  while (start < outline.size()) {
    std::size_t end = outline.find('\n', start);
    if (end == std::string::npos) end = outline.size();
    if (end > start) output_.Line("  " + outline.substr(start, end - start));
    start = end + 1;
  }
  output_.Note("window buttons:" + (buttons.empty() ? std::string(" none") : buttons) + "   (act with `dialog " +
               window.GetName().str() + " ...`)");
}

void ZRBSessionRunner::ReportNewWindows() {
  std::set<const CADDlgDialog*> open;
  for (CADDlgDialog* window : CADDlgDialog::GetOpenWindows()) {
    open.insert(window);
    if (!shownWindows_.count(window)) ShowWindow(*window);
  }
  shownWindows_ = std::move(open);
}

bool ZRBSessionRunner::CheckUnexpectedBoxes() {
  const std::size_t unexpected = CADDlgBoxScript::GetUnexpected().size();
  const bool fresh = unexpected > unexpectedSeen_;
  unexpectedSeen_ = unexpected;
  return !fresh;
}

void ZRBSessionRunner::Settle() {
  CADEventLoop::Instance().RunPending();
  CADDlgReaper::Flush();
  ReportNewWindows();
  centres_.Observe();
}

bool ZRBSessionRunner::WaitUntil(const std::function<bool()>& done, std::int64_t timeoutMs) {
  // Dialogs that open while waiting are shown as they come.
  const std::int64_t deadline = CADEventLoop::Instance().NowMs() + timeoutMs;
  for (;;) {
    Settle();
    if (done()) return true;
    const std::int64_t left = deadline - CADEventLoop::Instance().NowMs();
    if (left <= 0) return false;
    CADEventLoop::Instance().RunUntil(done, std::min<std::int64_t>(left, 100));
  }
}

bool ZRBSessionRunner::Execute(std::string_view line) {
  std::vector<std::string> words;
  std::string error;
  if (!ZRBSessionWords::Split(line, words, error)) return Fail(error);
  if (words.empty()) return true;
  const ZRBSessionCommand* command = table_.Find(words.front());
  if (!command) return Fail("unknown command \"" + words.front() + "\" (try `help`)");
  ZRBSessionArgs args(words.begin() + 1, words.end());
  if (args.size() < command->minArgs || args.size() > command->maxArgs) return Fail("usage: " + command->usage);

  bool ok = command->run(*this, args);
  Settle();
  const auto& failures = driver_.GetFailures();
  for (; driverFailuresSeen_ < failures.size(); ++driverFailuresSeen_) {
    output_.Error(failures[driverFailuresSeen_]);
    ok = false;
  }
  if (!CheckUnexpectedBoxes() && strict_) ok = Fail("a message box came up that the script did not expect (`answer`)");
  return ok;
}

int ZRBSessionRunner::RunScript(const std::string& path, const std::string& dumpPath) {
  const int status = RunScriptSteps(path);
  if (!dumpPath.empty()) {
    std::string error;
    if (!ZRBSessionDump::WriteFile(*this, dumpPath, error)) {
      output_.Error(error);
      return status ? status : 1;
    }
    output_.Note("wrote " + dumpPath);
  }
  return status;
}

int ZRBSessionRunner::RunScriptSteps(const std::string& path) {
  strict_ = true;
  std::ifstream in;
  std::istream* source = &std::cin;
  if (path != "-") {
    in.open(path);
    if (!in) {
      output_.Error("cannot read script " + path);
      return 2;
    }
    source = &in;
  }
  std::string line;
  int number = 0;
  while (!quit_ && std::getline(*source, line)) {
    ++number;
    std::vector<std::string> words;
    std::string error;
    if (!ZRBSessionWords::Split(line, words, error)) words = {line};
    if (words.empty()) continue;
    // An echo is a heading of the script: shown once, as its output.
    if (words.front() != "echo") output_.Line(output_.Paint("> " + line, ZRBSessionOutput::Tone::Dim));
    if (!Execute(line)) {
      output_.Error(path + ":" + std::to_string(number) + ": step failed: " + line);
      return 1;
    }
  }
  return 0;
}

int ZRBSessionRunner::RunInteractive() {
  // Boxes that no `answer` foresaw: on a terminal the user is asked; otherwise they take their safe default
  // without failing anything.
  CADDlgBoxScript::SetLenient(true);
  const bool terminal = isatty(STDIN_FILENO);
  std::string pending;
  ZRBSessionBoxAsker asker(output_, pending, STDIN_FILENO);
  if (terminal) {
    CADDlgBoxScript::SetAsker([this, &asker](const CADDlgBoxRecord& box) {
      boxAsked_ = true;
      return asker.Ask(box);
    });
  }
  output_.Heading("zrbsession: a headless CAD session with the ZRBCommands module");
  output_.Note("type `help` for the commands, `quit` (or end of input) to leave");
  CADEventLoop& loop = CADEventLoop::Instance();
  bool readable = false;
  loop.WatchFd(STDIN_FILENO, [&readable] { readable = true; });
  bool prompt = true;
  bool ended = false;
  while (!quit_ && !ended) {
    if (prompt) {
      std::cout << output_.Paint("zrb> ", ZRBSessionOutput::Tone::Good) << std::flush;
      prompt = false;
    }
    readable = false;
    loop.RunUntil([&readable] { return readable; }, 200);
    ReportNewWindows();
    if (!readable) continue;
    char buffer[4096];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) {
      ended = true;
      break;
    }
    pending.append(buffer, static_cast<std::size_t>(n));
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!terminal) output_.Line(output_.Paint("> " + line, ZRBSessionOutput::Tone::Dim));
      Execute(line);
      prompt = true;
      if (quit_) break;
    }
  }
  loop.UnwatchFd(STDIN_FILENO);
  if (ended && terminal) std::cout << '\n';
  if (!pending.empty() && !quit_) Execute(pending);
  CADDlgBoxScript::SetAsker(nullptr);
  return 0;
}

int ZRBSessionRunner::Serve() {
  output_.Heading("zrbsession: serving the PDM side");
  output_.Note("automation socket: " + host_.GetBridge().GetPath());
  output_.Note("export CAD_AUTOMATION_SOCKET=" + host_.GetBridge().GetPath() + " for the PDM's programs");
  output_.Note("interrupt (Ctrl-C) to end the session");
  std::signal(SIGINT, QuitLoop);
  std::signal(SIGTERM, QuitLoop);
  CADDlgBoxScript::SetLenient(true);
  CADEventLoop& loop = CADEventLoop::Instance();
  // Dialogs opened by started commands are shown four times a second.
  const int tick = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
  if (tick >= 0) {
    itimerspec every{{0, 250'000'000}, {0, 250'000'000}};
    timerfd_settime(tick, 0, &every, nullptr);
    loop.WatchFd(tick, [this, tick] {
      std::uint64_t expirations = 0;
      [[maybe_unused]] ssize_t n = read(tick, &expirations, sizeof expirations);
      CADDlgReaper::Flush();
      ReportNewWindows();
      centres_.Observe();
    });
  }
  loop.Run();
  if (tick >= 0) {
    loop.UnwatchFd(tick);
    close(tick);
  }
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  output_.Note("session ends");
  return 0;
}
