// The session command against requests as the module writes them: the golden
// read answer, the cached-file protocol, the add-temporary dialog, the cancel
// words, settings, unsupported actions and every injected fault.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <filesystem>
#include <thread>

#include "AnswerCheck.h"
#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
namespace fs = std::filesystem;
using pdmsim::ExchangeFile;
using pdmsimtest::PdmSimHarness;
using pdmsimtest::RunResult;

std::string Golden(const std::string& name, const PdmSimHarness& harness) {
  std::string bytes = PdmSimHarness::ReadFile(std::string(ZRB_TEST_DATA_DIR) + "/pdmsim/" + name);
  for (std::size_t at = bytes.find("@XMAP@"); at != std::string::npos; at = bytes.find("@XMAP@", at)) {
    bytes.replace(at, 6, harness.Xmap());
  }
  return bytes;
}

ExchangeFile Load(const std::string& path) { return ExchangeFile::Parse(PdmSimHarness::ReadFile(path)); }

std::string Root(const std::string& path, const std::string& slot) {
  ExchangeFile file = Load(path);
  const pdmsim::ExchangeObject* root = file.Find("ROOT");
  return root ? root->Get(slot) : "<no ROOT>";
}

// The answer object that names the file, found by its file name.
const pdmsim::ExchangeObject* ObjectForFile(const ExchangeFile& file, const std::string& name) {
  for (const auto& object : file.Objects()) {
    std::string location = object.Get("EXTERNAL_LOCATION");
    if (fs::path(location).filename() == name) return &object;
  }
  return nullptr;
}

void ClearXmap(const PdmSimHarness& harness) {
  for (const auto& entry : fs::directory_iterator(harness.Xmap())) fs::remove_all(entry.path());
}

class SessionCommand : public ::testing::Test {
 protected:
  void SetUp() override { harness.FillSampleVault(); }
  PdmSimHarness harness;
};

TEST_F(SessionCommand, ReadAnswerMatchesTheGoldenFileAndKeepsTheProtocolInvariants) {
  harness.Admin({"load-into-cad", "--no-start", "GEARBOX", "BOLT-DRW"});
  std::string request = harness.XmapFile("xfile.zrb");
  PdmSimHarness::WriteFile(request, Golden("read-request.zrb", harness));

  RunResult run = harness.Session("x3WriteZRBFile", request);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(PdmSimHarness::ReadFile(request), Golden("read-answer.zrb", harness));
  EXPECT_EQ(pdmsimtest::StructureAnswerProblems(request, harness.Xmap()), std::vector<std::string>{});
  for (const char* name : {"GEARBOX.CADProduct", "SHAFT-ASM.CADProduct", "SHAFT.CADPart", "BOLT.CADPart",
                           "SHAFT_sizes.xls", "BOLT.CADDrawing"}) {
    EXPECT_EQ(PdmSimHarness::ReadFile(harness.XmapFile(name)), PdmSimHarness::ReadFile(harness.Root() + "/src/" + name))
        << name;
  }
  // The journal holds the request as the module wrote it, not the answer.
  std::string journal = harness.Admin({"journal", "show", "1"});
  EXPECT_EQ(journal, Golden("read-request.zrb", harness));
  EXPECT_NE(harness.Admin({"journal"}).find("6 delivered, 0 from the exchange map"), std::string::npos);
}

TEST_F(SessionCommand, CachedFileProtocolDeclaresOnlyHeldAndCurrentCopies) {
  harness.Admin({"load-into-cad", "--no-start", "BOLT"});
  ASSERT_EQ(harness.Session("x3WriteZRBFile", harness.WriteReadRequest()).exitCode, 0);
  ExchangeFile first = Load(harness.XmapFile("xfile.zrb"));
  const auto* bolt = ObjectForFile(first, "BOLT.CADPart");
  ASSERT_NE(bolt, nullptr);
  const std::string obid = bolt->Get("OBID");
  const std::string date = bolt->Get("MODIFICATION_DATE_GMT");
  const std::string sameSecond = date.substr(0, 19) + ".999";
  const std::string otherSecond = "2001-01-01 00:00:00.000";

  struct Case {
    const char* name;
    std::string listKey;
    std::string modtime;
    bool inXmap;  // "XMAP" "1" (else only "REL_CACHE")
    bool backup;  // ZRBBACKUP_BOLT.CADPart present
    bool inUse;   // BOLT.CADPart present under its own name
    bool reused;
  };
  const Case cases[] = {
      {"held as backup, same date", obid, date, true, true, false, true},
      {"held in use, same date", obid, date, true, false, true, true},
      {"same second, other milliseconds", obid, sameSecond, true, true, false, true},
      {"listed but the file is gone", obid, date, true, false, false, false},
      {"older date", obid, otherSecond, true, true, false, false},
      {"released cache only", obid, date, false, true, false, false},
      {"another object's file", "IT99999999", date, true, true, false, false},
  };
  for (const Case& c : cases) {
    ClearXmap(harness);
    std::string list =
        "@" + c.listKey + "\n{MODTIME} " + c.modtime + "\n" + (c.inXmap ? "{XMAP} 1\n" : "{REL_CACHE} 1\n") + "\n";
    PdmSimHarness::WriteFile(harness.XmapFile("xmapfiles.zrb"), list);
    if (c.backup) PdmSimHarness::WriteFile(harness.XmapFile("ZRBBACKUP_BOLT.CADPart"), "old copy\n");
    if (c.inUse) PdmSimHarness::WriteFile(harness.XmapFile("BOLT.CADPart"), "copy in use\n");
    std::string request = harness.WriteReadRequest({{"XMAPCONTENT", harness.XmapFile("xmapfiles.zrb")}});
    ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0) << c.name;

    ExchangeFile answer = Load(request);
    const auto* object = ObjectForFile(answer, "BOLT.CADPart");
    ASSERT_NE(object, nullptr) << c.name;
    EXPECT_EQ(object->Get("USE_FILE_IN_EXMAP"), c.reused ? "1" : "") << c.name;
    std::string delivered = harness.XmapFile("BOLT.CADPart");
    if (c.reused) {
      EXPECT_EQ(PdmSimHarness::Exists(delivered), c.inUse) << c.name << ": nothing may be delivered";
    } else {
      EXPECT_EQ(PdmSimHarness::ReadFile(delivered), "bolt geometry\n") << c.name;
    }
    if (c.backup) {
      EXPECT_EQ(PdmSimHarness::ReadFile(harness.XmapFile("ZRBBACKUP_BOLT.CADPart")), "old copy\n");
    }
    EXPECT_EQ(pdmsimtest::StructureAnswerProblems(request, harness.Xmap()), std::vector<std::string>{}) << c.name;
  }
}

// An answer no PDM would write: A contains B contains A, and a hostile location.
const std::string kCyclicAnswer =
    "@ROOT\n{ACTION_SUCCESS} 1\n{SUBASSRELATIONS} {R1}\n\n@R1\n{ASS_ITEM_ID} A\n\n"
    "@A\n{SUBASSRELATIONS} {R2}\n\n@R2\n{ASS_ITEM_ID} B\n\n@B\n{SUBASSRELATIONS} {R3}\n"
    "{EXTERNAL_LOCATION} @EXMAP@/../../x\n\n@R3\n{ASS_ITEM_ID} A\n\n";

TEST_F(SessionCommand, EveryInjectedFaultShowsInTheAnswerAndTheJournal) {
  harness.Admin({"load-into-cad", "--no-start", "GEARBOX"});
  std::string canned = kCyclicAnswer;
  canned.replace(canned.find("@EXMAP@"), 7, harness.Xmap());
  struct Case {
    std::vector<std::string> fault;
    std::string code;     // ACTION_SUCCESS, "-" for an answer that cannot be read
    std::string answer;   // the whole answer where it is fixed
    const char* missing;  // a file that must not be delivered
  };
  const Case cases[] = {
      {{"--no-rewrite"}, "", "", nullptr},
      {{"--garbage"}, "-", "", nullptr},
      {{"--delay", "400"}, "1", "", nullptr},
      {{"--fail-for", "BOLT"}, "3", "", "BOLT.CADPart"},
      {{"--answer-file", harness.WriteSource("cyclic.zrb", kCyclicAnswer)}, "1", canned, nullptr},
      {{"--fail-for", "GEARBOX"}, "0", "", "GEARBOX.CADProduct"},
  };
  int seq = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault.front());
    ClearXmap(harness);
    std::vector<std::string> args{"fault", "set", "x3WriteZRBFile", "--times", "1"};
    args.insert(args.end(), c.fault.begin(), c.fault.end());
    harness.Admin(args);
    const std::string path = harness.WriteReadRequest();
    const std::string request = PdmSimHarness::ReadFile(path);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(harness.Session("x3WriteZRBFile", path).exitCode, 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const std::string answer = PdmSimHarness::ReadFile(path);
    pdmsim::ParseReport report;
    const ExchangeFile file = ExchangeFile::Parse(answer, &report);
    if (c.code == "-") {
      EXPECT_TRUE(!answer.empty() && answer.front() != '@' && file.Objects().empty()) << answer;
    } else if (c.code.empty()) {
      EXPECT_EQ(answer, request);
    } else {
      EXPECT_EQ(file.Find("ROOT")->Get("ACTION_SUCCESS"), c.code);
    }
    EXPECT_EQ(answer, c.answer.empty() ? answer : c.answer);
    EXPECT_GE(elapsed, std::chrono::milliseconds(c.fault.front() == "--delay" ? 400 : 0));
    EXPECT_FALSE(c.missing && PdmSimHarness::Exists(harness.XmapFile(c.missing))) << c.missing;
    if (c.code == "3") {
      EXPECT_EQ(file.Find("ROOT")->GetList("STATS"),
                (std::vector<std::string>{"Reference PDM: BOLT could not be delivered."}));
      EXPECT_EQ(ObjectForFile(file, "BOLT.CADPart"), nullptr);
      EXPECT_EQ(pdmsimtest::StructureAnswerProblems(path, harness.Xmap()), std::vector<std::string>{});
    }
    // The request was copied before the fault spoilt the file, and the answer as it was written, spoilt or not
    // (a request left alone has no answer).
    EXPECT_EQ(harness.Admin({"journal", "show", std::to_string(++seq)}), request);
    EXPECT_EQ(answer == request ? answer : harness.Admin({"journal", "show", std::to_string(seq), "--answer"}), answer);
    EXPECT_EQ(harness.Admin({"fault", "ls"}), "no faults set\n") << "--times 1 is used up";
  }
}

TEST_F(SessionCommand, AnswersKeepEveryObjectAndSlotOfTheRequest) {
  harness.Admin({"load-into-cad", "--no-start", "BOLT"});
  std::string request = harness.XmapFile("xfile.zrb");
  PdmSimHarness::WriteFile(request,
                           "@ROOT\n{ACTION_SUCCESS} 0\n{CLIENT_NOTE} kept\n\n@COMMAND\n{COMMAND} REQUEST_READ\n"
                           "{EXMAP} " +
                               harness.Xmap() + "\n{MARKEDFLAG} OFF\n\n@7\n{ANY} thing\n\n");
  ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0);
  ExchangeFile answer = Load(request);
  ASSERT_GE(answer.Objects().size(), 3u);
  EXPECT_EQ(answer.Objects()[0].Key(), "ROOT");
  EXPECT_EQ(answer.Objects()[1].Key(), "COMMAND");
  EXPECT_EQ(answer.Objects()[2].Key(), "7");
  EXPECT_EQ(answer.Find("ROOT")->Get("CLIENT_NOTE"), "kept");
  EXPECT_EQ(answer.Find("ROOT")->Slots().front().first, "ACTION_SUCCESS");
  EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("COMMAND")->Get("MARKEDFLAG"), "OFF");
  EXPECT_EQ(answer.Find("7")->Get("ANY"), "thing");
}

TEST_F(SessionCommand, WhatIsDeliveredComesFromTheChoiceOrTheMarks) {
  struct Case {
    const char* name;
    std::vector<std::string> setup;
    std::map<std::string, std::string> command;
    std::string code;
    std::string file;  // one file expected in the exchange map ("" none)
  };
  const Case cases[] = {
      {"nothing chosen", {}, {}, "0", ""},
      {"chosen", {"load-into-cad", "--no-start", "SHAFT"}, {}, "1", "SHAFT.CADPart"},
      {"marked, read-marked request", {"mark", "BOLT"}, {{"MARKEDFLAG", "ON"}}, "1", "BOLT.CADPart"},
      {"marks cleared", {"mark", "--clear"}, {{"MARKEDFLAG", "ON"}}, "0", ""},
      {"a drawing alone", {"load-into-cad", "--no-start", "BOLT-DRW"}, {}, "1", "BOLT.CADDrawing"},
  };
  for (const Case& c : cases) {
    ClearXmap(harness);
    if (!c.setup.empty()) harness.Admin(c.setup);
    std::string request = harness.WriteReadRequest(c.command);
    ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0) << c.name;
    EXPECT_EQ(Root(request, "ACTION_SUCCESS"), c.code) << c.name;
    EXPECT_TRUE(c.code != "0" || !Root(request, "STATS").empty()) << c.name << ": a refusal says why";
    EXPECT_TRUE(c.file.empty() || PdmSimHarness::Exists(harness.XmapFile(c.file))) << c.name;
  }
}

TEST_F(SessionCommand, ACyclicVaultIsAnsweredWithoutTheClosingRelation) {
  harness.Admin({"vault", "relate", "SHAFT-ASM", "GEARBOX", "--instance", "LOOP.1"});
  harness.Admin({"load-into-cad", "--no-start", "GEARBOX"});
  std::string request = harness.WriteReadRequest();
  ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0);
  EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "3");
  EXPECT_NE(Root(request, "STATS").find("LOOP.1 of GEARBOX in SHAFT-ASM closes a cycle"), std::string::npos);
  EXPECT_EQ(pdmsimtest::StructureAnswerProblems(request, harness.Xmap()), std::vector<std::string>{});
  EXPECT_NE(harness.Admin({"vault", "show", "GEARBOX"}).find("cycle: GEARBOX contains itself"), std::string::npos);
}

TEST_F(SessionCommand, BadRequestsAndMissingPlacesGetClearAnswersAndLoseNothing) {
  // A request the reader cannot follow to its end is left exactly as it was.
  std::string request = harness.XmapFile("xfile.zrb");
  const std::string unreadable = "@COMMAND\n{COMMAND} REQUEST_READ\nstray line\n@MORE\n{X} 1\n";
  PdmSimHarness::WriteFile(request, unreadable);
  RunResult run = harness.Session("x3WriteZRBFile", request);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
  EXPECT_EQ(PdmSimHarness::ReadFile(request), unreadable);

  // Missing request file.
  run = harness.Session("x3WriteZRBFile", harness.XmapFile("absent.zrb"));
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_FALSE(PdmSimHarness::Exists(harness.XmapFile("absent.zrb")));

  // An exchange map that is not a directory.
  harness.Admin({"load-into-cad", "--no-start", "BOLT"});
  PdmSimHarness::WriteFile(request, "@COMMAND\n{EXMAP} " + harness.Xmap() + "/nowhere\n\n");
  ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0);
  EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "0");
  EXPECT_NE(Root(request, "STATS").find("is not a directory"), std::string::npos);

  // No vault: the designer still learns why.
  PdmSimHarness::WriteFile(request, "@COMMAND\n{EXMAP} " + harness.Xmap() + "\n\n");
  harness.UnsetEnv("PDMSIM_VAULT");
  run = harness.Session("x3WriteZRBFile", request);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "0");
  EXPECT_NE(Root(request, "STATS").find("PDMSIM_VAULT"), std::string::npos);
}

TEST_F(SessionCommand, SettingsFaultsForEveryActionAndUnsupportedActions) {
  std::string request = harness.XmapFile("ifile.zrb");
  const std::string settingsRequest =
      "@ROOT\n{CREATING_SYSTEM} CADHOST\n{FILEVERSION} 1\n{PROCESS} GetPDMSettings\n{ACTION_SUCCESS} 0\n\n";
  PdmSimHarness::WriteFile(request, settingsRequest);
  ASSERT_EQ(harness.Session("x3GetPDMSettings", request).exitCode, 0);
  EXPECT_EQ(PdmSimHarness::ReadFile(request),
            "@ROOT\n{CREATING_SYSTEM} CADHOST\n{FILEVERSION} 1\n{PROCESS} GetPDMSettings\n{ACTION_SUCCESS} 1\n"
            "{CADPART_DATA_MODEL} LEGACY_DATA_MODEL\n{PRDSUPPORT} 1\n{ZRB_DESIGN_TABLES} ON\n\n");
  harness.Admin({"settings", "pdm.design_tables", "OFF"});
  PdmSimHarness::WriteFile(request, settingsRequest);
  ASSERT_EQ(harness.Session("x3GetPDMSettings", request).exitCode, 0);
  EXPECT_EQ(Root(request, "ZRB_DESIGN_TABLES"), "OFF");

  // A fault for every action applies where none of the action's own is set.
  harness.Admin({"fault", "set", "*", "--code", "2"});
  harness.Admin({"fault", "set", "x3GetPDMSettings", "--stats", "own fault"});
  for (const char* action : {"x3UpdateFromFile", "x3GetPDMSettings"}) {
    PdmSimHarness::WriteFile(request, "@ROOT\n{ACTION_SUCCESS} 0\n\n");
    ASSERT_EQ(harness.Session(action, request).exitCode, 0);
  }
  EXPECT_EQ(Root(request, "ACTION_SUCCESS") + Root(request, "STATS"), "1{own fault}");
  EXPECT_NE(harness.Admin({"journal", "show", "3", "--answer"}).find("{ACTION_SUCCESS} 2\n"), std::string::npos);
  harness.Admin({"fault", "clear"});

  for (const char* action : {"x3GetCatalogFile", "x3UpdCreCatalogFrFile"}) {
    PdmSimHarness::WriteFile(request, "@ROOT\n{ACTION_SUCCESS} 0\n\n");
    ASSERT_EQ(harness.Session(action, request).exitCode, 0) << action;
    EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "0") << action;
    EXPECT_EQ(Root(request, "STATS"), std::string("{Reference PDM: the action ") + action + " is not supported yet.}");
  }
}

TEST_F(SessionCommand, AddTemporaryDialogIsCompletedCancelledOrRefused) {
  const std::string closed = "no PDM dialog is open\n";
  std::string request = harness.WriteAddTempRequest();
  ASSERT_EQ(harness.Session("x3AddTempCad", request).exitCode, 0);
  const std::string stepOne = PdmSimHarness::ReadFile(request);
  EXPECT_EQ(stepOne, "@ROOT\n{ACTION_SUCCESS} 2\n\n@COMMAND\n{EXMAP} " + harness.Xmap() + "\n{TMP_PRAEFIX} TMP17\n\n");
  EXPECT_TRUE(harness.SenderCalls().empty()) << "no status during step 1";
  harness.Admin({"dialog", "complete", "--choose", "BOLT", "SHAFT"});
  EXPECT_EQ(harness.SenderCalls(), std::vector<std::string>{"SetStatus|PDM_ADDTEMP_READY|"});
  ExchangeFile answer = Load(request);
  EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), "1");
  EXPECT_EQ(answer.Find("ROOT")->GetList("SUBASSRELATIONS").size(), 2u);
  EXPECT_EQ(answer.Find("COMMAND")->Get("TMP_PRAEFIX"), "TMP17");
  EXPECT_EQ(pdmsimtest::StructureAnswerProblems(request, harness.Xmap()), std::vector<std::string>{});
  RunResult again = harness.Run("pdmsim", {"dialog", "complete", "--choose", "BOLT"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_NE(again.err.find("no PDM dialog is open"), std::string::npos);

  // Cancelled: the request stays as step 1 left it.
  ASSERT_EQ(harness.Session("x3AddTempCad", harness.WriteAddTempRequest()).exitCode, 0);
  harness.Admin({"dialog", "cancel"});
  EXPECT_EQ(harness.SenderCalls().back(), "SetStatus|PDM_CANCEL|");
  EXPECT_EQ(PdmSimHarness::ReadFile(request), stepOne);

  // Step 1 refused: no dialog opens.
  harness.Admin({"fault", "set", "x3AddTempCad", "--code", "0", "--times", "1"});
  ASSERT_EQ(harness.Session("x3AddTempCad", harness.WriteAddTempRequest()).exitCode, 0);
  EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "0");
  EXPECT_EQ(harness.Admin({"dialog", "status"}), closed);

  // A session that cannot be told: the answer with its remarks is written, the dialog stays open.
  ASSERT_EQ(harness.Session("x3AddTempCad", harness.WriteAddTempRequest()).exitCode, 0);
  harness.MakeSenderFail();
  RunResult run = harness.Run("pdmsim", {"dialog", "complete", "--choose", "BOLT", "--code", "3", "--stats", "note"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("the answer is written but the CAD session could not be told"), std::string::npos);
  EXPECT_EQ(Root(request, "ACTION_SUCCESS") + Root(request, "STATS"), "3{note}");
  EXPECT_NE(harness.Admin({"dialog", "status"}).find("open: x3AddTempCad"), std::string::npos);
}

TEST_F(SessionCommand, CancelWordsCloseOnlyTheirOwnDialogAndSendNothing) {
  for (const char* word : {"x3CancelCreateForDoc", "x3CancelCadSaveAs", "x3CancelUsePdmStruct", "x3CancelCadAddTemp"}) {
    std::string request = harness.WriteAddTempRequest();
    if (harness.Admin({"dialog", "status"}).find("open:") == std::string::npos) {
      ASSERT_EQ(harness.Session("x3AddTempCad", request).exitCode, 0);
    }
    std::string before = PdmSimHarness::ReadFile(request);
    ASSERT_EQ(harness.Session(word, "").exitCode, 0) << word;
    std::string status = harness.Admin({"dialog", "status"});
    EXPECT_EQ(status == "no PDM dialog is open\n", std::string(word) == "x3CancelCadAddTemp") << word << status;
    EXPECT_EQ(PdmSimHarness::ReadFile(request), before) << word;
  }
  EXPECT_TRUE(harness.SenderCalls().empty());
  std::string journal = harness.Admin({"journal"});
  EXPECT_NE(journal.find("dialog 1 closed"), std::string::npos) << journal;
  EXPECT_NE(journal.find("no open dialog to close"), std::string::npos) << journal;
}

TEST_F(SessionCommand, AnAutomaticDialogCompletesByItself) {
  harness.Admin({"dialog", "auto", "--after", "0", "complete", "--choose", "BOLT"});
  std::string request = harness.WriteAddTempRequest();
  ASSERT_EQ(harness.Session("x3AddTempCad", request).exitCode, 0);
  auto open = [&] { return harness.Admin({"dialog", "status"}).find("open:") != std::string::npos; };
  for (int i = 0; i < 200 && (harness.SenderCalls().empty() || open()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(harness.SenderCalls(), std::vector<std::string>{"SetStatus|PDM_ADDTEMP_READY|"});
  EXPECT_EQ(Root(request, "ACTION_SUCCESS"), "1");
  EXPECT_FALSE(open());
}

// The journal keeps the exchange-map file list the request named and the answer, and says where an answer came
// from when it was injected.
TEST_F(SessionCommand, TheJournalKeepsTheAnswerAndTheExchangeMapFileList) {
  harness.Admin({"load-into-cad", "--no-start", "BOLT"});
  const std::string list = harness.XmapFile("xmapfiles.zrb");
  PdmSimHarness::WriteFile(list, "@BOLT-OBID\n{MODTIME} 2020-01-01 00:00:00\n\n");
  const std::string request = harness.WriteReadRequest({{"XMAPCONTENT", list}});
  ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0);
  EXPECT_EQ(harness.Admin({"journal", "show", "1", "--xmap-list"}), PdmSimHarness::ReadFile(list));
  EXPECT_EQ(harness.Admin({"journal", "show", "1", "--answer"}), PdmSimHarness::ReadFile(request));

  const std::string canned = harness.WriteSource("canned.zrb", "@ROOT\n{ACTION_SUCCESS} 1\n\n");
  harness.Admin({"fault", "set", "x3WriteZRBFile", "--answer-file", canned});
  ASSERT_EQ(harness.Session("x3WriteZRBFile", harness.WriteReadRequest()).exitCode, 0);
  const auto json = nlohmann::json::parse(harness.Admin({"journal", "--json"}));
  EXPECT_EQ(json[0]["answer_source"], "built");
  EXPECT_EQ(json[1]["answer_source"], "injected " + canned);
  EXPECT_EQ(json[1]["xmap_list_copy"], "");
}

}  // namespace
