// zrbsession driven by scripts: an interactive-style session answered through
// the script (a message box and a list dialog), checked through `dump --json`,
// and the steps that must stop a script with a clear error.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "SessionRunnerTestSupport.h"

namespace {

// The probe command asks a yes/no question, then offers Bolt, Plate and Bracket
// in a list dialog and writes the chosen row into the first document's root.
TEST(SessionScript, AnswersBoxAndListDialogAndDumpsTheResult) {
  SessionScratch scratch;
  const std::string dump = scratch.Dir() + "/dump.json";
  SessionRun run = scratch.RunScript({
      "open " + scratch.Sample("Assembly.CADProduct"),
      "answer yes 'Pick a part*'",
      "start ZRBSessionProbeCmd",
      "wait dialog ZRBSessionProbeDlg 5",
      "dialog ZRBSessionProbeDlg choose PartList Plate",
      "dialog ZRBSessionProbeDlg ok",
      "wait closed ZRBSessionProbeDlg 5",
      "wait idle 5",
      "move Assembly/Bracket.1 10 20 30 rz 90",
      "set Assembly/Bracket.1 ZRB_OBID IT-test-1",
      "set Assembly nomenclature 'Demo \"quoted\" name'",
      "tree",
      "dump --json " + dump,
  });
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const auto json = nlohmann::json::parse(SessionScratch::ReadFile(dump));
  const auto& root = json["products"].at(0);
  const auto& bracket = root["children"].at(0);
  // the list dialog's choice reached the product; quotes survive the script words
  EXPECT_EQ(root["description"], "probe chose Plate");
  EXPECT_EQ(root["nomenclature"], "Demo \"quoted\" name");
  EXPECT_EQ(json["boxes"].at(0)["text"], "Pick a part for the probe?");
  EXPECT_EQ(json["boxes"].at(0)["answer"], "Yes");
  EXPECT_EQ(json["boxes"].at(0)["expected"], true);
  // rotated 90 degrees about z, then moved: x axis maps to y, y to -x; the property manager's reference record
  EXPECT_EQ(bracket["path"], "Assembly/Bracket.1");
  EXPECT_EQ(bracket["position"], nlohmann::json::parse("[0,1,0,-1,0,0,0,0,1,10,20,30]"));
  EXPECT_EQ(bracket["properties"]["ZRB_OBID"], "IT-test-1");
  // the untouched second instance keeps its rotated position
  EXPECT_EQ(root["children"].at(1)["position"], nlohmann::json::parse("[-1,0,0,0,-1,0,0,0,1,0,300,0]"));
  EXPECT_EQ(json["dialogs"], nlohmann::json::array());
  EXPECT_EQ(json["documents"].at(0)["ownWindow"], true);
  // Both instances of Bracket share one reference: the property shows under both.
  EXPECT_NE(run.out.find("Bracket.2  Bracket  OBID IT-test-1"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("└─ Fixings.1"), std::string::npos) << run.out;
}

// A script that fails still leaves its dump: here the add-temporary refused at its start (no PDM vault), the box
// shown by its message key, and the command's result.
TEST(SessionScript, AFailedScriptStillWritesItsDump) {
  SessionScratch scratch;
  const std::string dump = scratch.Dir() + "/dump.json";
  SessionRun run = scratch.RunScript({"answer ok", "start ZRBAddTempCmd", "wait idle 5", "frobnicate", "echo NEVER"},
                                     {"--message-keys", "--dump", dump});
  EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
  const auto json = nlohmann::json::parse(SessionScratch::ReadFile(dump));
  EXPECT_EQ(json["boxes"].at(0)["text"], "ZRBAddTempCmd.AddTempFailed") << json;
  EXPECT_EQ(json["boxes"].at(0)["key"], "ZRBAddTempCmd.AddTempFailed");
  EXPECT_EQ(json["commands"], nlohmann::json::parse(R"([{"name":"ZRBAddTempCmd","result":"failed"}])"));
}

// A setting the site holds in a form the host cannot read is reported and left exactly as it was.
TEST(SessionScript, AnUnreadableSettingIsReportedAndLeftAsItIs) {
  SessionScratch scratch;
  const std::string settings = scratch.Dir() + "/settings";
  const std::string file = settings + "/SymbolicLinks.settings";
  std::filesystem::create_directories(settings);
  const std::string content = "LoadLinkStatus = yes please\n";
  std::ofstream(file) << content;
  std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  SessionRun run = scratch.RunScript({"status"}, {"--no-module"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("\"SymbolicLinks\" \"LoadLinkStatus\" left as it is"), std::string::npos) << run.err;
  EXPECT_EQ(SessionScratch::ReadFile(file), content);
  EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::owner_write |
                                                             std::filesystem::perms::group_read);
}

TEST(SessionScript, AFailingStepStopsTheScriptWithItsReason) {
  SessionScratch scratch;
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"start ZRBSessionProbeCmd"}, "did not expect"},
      {{"frobnicate"}, "unknown command \"frobnicate\""},
      {{"dialog ZRBSessionProbeDlg ok"}, "no open dialog"},
      {{"answer yes", "start ZRBSessionProbeCmd", "dialog ZRBSessionProbeDlg choose PartList Nut"}, "no row \"Nut\""},
      {{"wait status NEVER_SET 0.2"}, "time-out after 0.2 s"},
      {{"shell 'exit 3'"}, "exited with 3"},
      {{"props Assembly/Bracket.9"}, "has no child instance \"Bracket.9\""},
      {{"open ${ZRB_SESSION_TEST_UNSET}/x"}, "is not set"},
      {{"start NoSuchCmd"}, "no class \"NoSuchCmd\""},
      {{"move Assembly/Bracket.1 1 2 x"}, "not a number: x"},
      {{"move Assembly 1 2 3"}, "only instances move"},
      {{"trace maybe"}, "usage: trace on|off"},
      {{"open /nonexistent/Nothing.CADPart"}, "cannot open"},
  };
  for (const auto& [steps, error] : cases) {
    std::vector<std::string> lines = {"open " + scratch.Sample("Assembly.CADProduct")};
    lines.insert(lines.end(), steps.begin(), steps.end());
    lines.push_back("echo NEVER-REACHED");
    SessionRun run = scratch.RunScript(lines);
    EXPECT_EQ(run.exitCode, 1) << error << run.out << run.err;
    EXPECT_NE(run.err.find(error), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("step failed"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("\nNEVER-REACHED"), std::string::npos) << run.out;
  }
}

// The shell step acts as the PDM user: its automation call reaches the session
// through the socket the session exported.
TEST(SessionScript, ShellReachesTheSessionThroughTheAutomationSocket) {
  SessionScratch scratch;
  SessionRun run = scratch.RunScript({
      "shell ZRBSender SetStatus:FROM_THE_PDM",
      "wait status FROM_THE_PDM 5",
      "status",
  });
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("status: FROM_THE_PDM"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("PDM -> session: SetStatus FROM_THE_PDM"), std::string::npos) << run.out;
}

}  // namespace

namespace {

// Options follow the usual conventions: --help, and a clear refusal (exit status 2) of what makes no sense.
TEST(SessionOptions, HelpAndRefusals) {
  const std::pair<const char*, int> cases[] = {
      {"--help", 0}, {"--bogus", 2}, {"--script", 2}, {"--dump x.json", 2}, {"--script a --serve", 2},
  };
  for (const auto& [args, code] : cases) {
    const std::string line = SessionScratch::Binary() + " " + args + " >/dev/null 2>&1";
    const int status = std::system(line.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == code) << args;
  }
}

}  // namespace
