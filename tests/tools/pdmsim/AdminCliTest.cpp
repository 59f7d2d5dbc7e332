// The PDM user's command line: creating and filling a vault, refusing what the
// exchange format cannot carry, sending items to the CAD session, marks, the
// journal and the fault plan.
#include <gtest/gtest.h>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsimtest::PdmSimHarness;
using pdmsimtest::RunResult;

TEST(PdmAdmin, HelpAndRefusalsComeBeforeActingAndCommandsWithoutAVaultSayHowToGetOne) {
  PdmSimHarness harness;
  const std::string elsewhere = harness.Root() + "/elsewhere";
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string text;  // in the output for 0, in the error otherwise
  };
  const Case cases[] = {
      {{"help"}, 0, "pdmcl -b -- PdmSessn ACTION"},
      {{"--help"}, 0, "load-into-cad"},
      {{"fault", "set", "--help"}, 0, "--answer-file FILE"},
      {{"journal", "show", "--help"}, 0, "--xmap-list"},
      {{"vault", "add-item", "--help"}, 0, "--read-only"},
      {{"frobnicate"}, 2, ""},
      {{"--vault"}, 2, ""},
      {{"vault", "init"}, 1, "a vault already exists"},
      {{"--vault", elsewhere, "vault", "ls"}, 2, "run `pdmsim vault init` first"},
      {{"fault", "set", "x3WriteZRBFile", "--delay", "soon"}, 2, "--delay"},
      {{"fault", "set", "x3WriteZRBFile", "--colour", "red"}, 2, "--colour"},
      {{"journal", "show", "1", "--answer", "--xmap-list"}, 2, "excludes"},
      {{"vault", "add-item", "NEW"}, 2, "--file"},
      {{"vault", "frobnicate"}, 2, "unknown command frobnicate"},
      {{"dialog", "auto", "--after", "3", "complete", "--choose", "BOLT"}, 0, "complete --choose BOLT after 3 s"},
  };
  for (const Case& c : cases) {
    RunResult run = harness.Run("pdmsim", c.args);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.args.back() << ": " << run.err;
    EXPECT_NE((c.exitCode == 0 ? run.out : run.err).find(c.text), std::string::npos) << run.out << run.err;
  }
  EXPECT_EQ(harness.Admin({"fault", "ls"}), "no faults set\n");
  harness.UnsetEnv("PDMSIM_VAULT");
  RunResult unset = harness.Run("pdmsim", {"journal"});
  EXPECT_EQ(unset.exitCode, 2);
  EXPECT_NE(unset.err.find("set PDMSIM_VAULT or pass --vault DIR"), std::string::npos) << unset.err;
  EXPECT_EQ(harness.Run("pdmsim", {"--vault", harness.Vault(), "journal"}).out, "no session calls yet\n");
}

TEST(PdmAdmin, RefusesItemsAndRelationsTheProtocolCannotCarry) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  struct Case {
    const char* name;
    std::vector<std::string> args;
    std::string message;
  };
  const std::string part = harness.WriteSource("NEW.CADPart", "x");
  const Case cases[] = {
      {"brace in a part number", {"vault", "add-item", "A}B", "--file", part}, "brace"},
      {"line break in a nomenclature",
       {"vault", "add-item", "NEW", "--file", part, "--nomenclature", "a\nb"},
       "single line"},
      {"part number taken", {"vault", "add-item", "BOLT", "--file", part}, "already holds an item"},
      {"file name taken",
       {"vault", "add-item", "NEW", "--file", harness.WriteSource("BOLT.CADPart", "x")},
       "already holds a document named BOLT.CADPart"},
      {"unknown kind", {"vault", "add-item", "NEW", "--file", harness.WriteSource("n.txt", "x")}, "--kind"},
      {"children of a part", {"vault", "relate", "BOLT", "SHAFT"}, "only assemblies have children"},
      {"a drawing as a child", {"vault", "relate", "GEARBOX", "BOLT-DRW"}, "drawing cannot be placed"},
      {"instance name taken",
       {"vault", "relate", "GEARBOX", "SHAFT", "--instance", "BOLT.1"},
       "already has an instance named BOLT.1"},
      {"brace in an attribute value", {"vault", "attr", "BOLT", "Note={x}"}, "brace"},
      {"unknown part number", {"vault", "show", "NOPE"}, "no item with part number NOPE"},
      {"braces in a STATS line", {"fault", "set", "x3WriteZRBFile", "--stats", "a}b"}, "braces"},
      {"fault used zero times", {"fault", "set", "x3WriteZRBFile", "--times", "0"}, "at least 1"},
  };
  const std::string before = harness.Admin({"vault", "ls"});
  for (const Case& c : cases) {
    RunResult run = harness.Run("pdmsim", c.args);
    EXPECT_NE(run.exitCode, 0) << c.name;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
  }
  EXPECT_EQ(harness.Admin({"vault", "ls"}), before) << "a refused command changes nothing";
}

TEST(PdmAdmin, LoadIntoCadRemembersTheChoiceAndStartsTheRead) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  harness.Admin({"load-into-cad", "--add", "BOLT", "SHAFT"});
  EXPECT_EQ(harness.SenderCalls(), std::vector<std::string>{"StartCmd|ZRBReadCmd|ZRB_ADD_CMD|"});

  // An unknown part number changes nothing; an unreachable session keeps the choice.
  EXPECT_EQ(harness.Run("pdmsim", {"load-into-cad", "BOLT", "NOPE"}).exitCode, 1);
  harness.MakeSenderFail();
  RunResult run = harness.Run("pdmsim", {"load-into-cad", "SHAFT-ASM"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("the choice is kept"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("no session"), std::string::npos) << run.err;
  std::string request = harness.WriteReadRequest();
  ASSERT_EQ(harness.Session("x3WriteZRBFile", request).exitCode, 0);
  pdmsim::ExchangeFile answer = pdmsim::ExchangeFile::Parse(PdmSimHarness::ReadFile(request));
  EXPECT_EQ(answer.Find("ROOT")->GetList("SUBASSRELATIONS").size(), 1u);
  EXPECT_TRUE(PdmSimHarness::Exists(harness.XmapFile("SHAFT-ASM.CADProduct")));
  EXPECT_FALSE(PdmSimHarness::Exists(harness.XmapFile("GEARBOX.CADProduct")));
}

TEST(PdmAdmin, MarksJournalFaultsAndSettingsCanBeListedAndCleared) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  EXPECT_EQ(harness.Admin({"mark"}), "no items are marked\n");
  EXPECT_EQ(harness.Admin({"mark", "BOLT", "SHAFT"}), "marked: BOLT SHAFT\n");
  EXPECT_EQ(harness.Admin({"mark", "--clear"}), "no items are marked\n");

  harness.Admin({"fault", "set", "x3WriteZRBFile", "--truncate", "--delay", "5", "--fail-for", "BOLT", "SHAFT"});
  std::string faults = harness.Admin({"fault", "ls"});
  EXPECT_NE(faults.find("x3WriteZRBFile"), std::string::npos);
  EXPECT_NE(faults.find("truncated"), std::string::npos);
  EXPECT_NE(faults.find("BOLT SHAFT"), std::string::npos) << faults;
  harness.Admin({"fault", "clear"});
  EXPECT_EQ(harness.Admin({"fault", "ls"}), "no faults set\n");

  std::string request = harness.XmapFile("odd name.zrb");
  PdmSimHarness::WriteFile(request, "@ROOT\n{ACTION_SUCCESS} 0\n\n");
  ASSERT_EQ(harness.Session("x3GetCatalogFile", request).exitCode, 0);
  std::string journal = harness.Admin({"journal"});
  EXPECT_NE(journal.find("\"" + request + "\""), std::string::npos) << "arguments with blanks are quoted\n" << journal;
  EXPECT_NE(journal.find("not supported"), std::string::npos);
  harness.Admin({"journal", "clear"});
  EXPECT_EQ(harness.Admin({"journal"}), "no session calls yet\n");
  EXPECT_EQ(harness.Run("pdmsim", {"journal", "show", "1"}).exitCode, 1);

  EXPECT_EQ(harness.Admin({"settings", "pdm.data_model"}), "pdm.data_model = LEGACY_DATA_MODEL\n");
  EXPECT_EQ(harness.Run("pdmsim", {"settings", "pdm.colour", "red"}).exitCode, 2);
}

TEST(PdmAdmin, ClearingTheJournalLeavesDialogsOpenableAgain) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  std::string request = harness.WriteAddTempRequest();
  ASSERT_EQ(harness.Session("x3AddTempCad", request).exitCode, 0);
  harness.Admin({"journal", "clear"});
  request = harness.WriteAddTempRequest();
  RunResult again = harness.Session("x3AddTempCad", request);
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(PdmSimHarness::ReadFile(request).find("{ACTION_SUCCESS} 2"), std::string::npos)
      << PdmSimHarness::ReadFile(request);
}

TEST(PdmAdmin, ChangesGiveItemsDatesTheCacheComparisonSees) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  auto boltDate = [&]() {
    std::string list = harness.Admin({"vault", "ls"});
    std::size_t row = list.find("\nBOLT ");
    return list.substr(list.find("2024-", row), 23);
  };
  std::string first = boltDate();
  for (const std::vector<std::string>& change :
       {std::vector<std::string>{"vault", "touch", "BOLT"},
        {"vault", "set", "BOLT", "--rev", "C"},
        {"vault", "attr", "BOLT", "Finish=zinc"},
        {"vault", "replace", "BOLT", harness.WriteSource("b2", "bolt v2\n")}}) {
    std::string next = boltDate();
    harness.Admin(change);
    std::string changed = boltDate();
    EXPECT_EQ(changed.size(), 23u);
    EXPECT_NE(changed.substr(0, 19), next.substr(0, 19)) << change[1];
  }
  EXPECT_NE(first, boltDate());
}

}  // namespace
