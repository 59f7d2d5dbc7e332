// zrbsession against the reference PDM: a script acts as the PDM user for a read and a two-step add-temporary,
// in a settings directory the session found empty, with the module's trace written to a file of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "SessionRunnerTestSupport.h"

namespace {

TEST(SessionPdmRoundTrip, AReadAndAnAddTemporaryDrivenByThePdmUser) {
  SessionScratch scratch;
  const std::string vault = scratch.Dir() + "/vault";
  const std::string trace = scratch.Dir() + "/trace.log";
  const std::string dump = scratch.Dir() + "/dump.json";
  // A site's catalog comes before the built-in ones.
  const std::string catalogs = scratch.Dir() + "/catalogs";
  std::filesystem::create_directories(catalogs);
  std::ofstream(catalogs + "/ZRBReadCmd.msg") << "ReadOk = The site's own words.\nLoadOk = Loaded.\n";
  // The session, the PDM's session command it calls and the PDM user all use this vault.
  setenv("PDMSIM_VAULT", vault.c_str(), 1);
  const std::string pdm = "shell pdmsim ";
  SessionRun run = scratch.RunScript(
      {
          pdm + "vault init",
          pdm + "vault import '" + scratch.Sample("Assembly.CADProduct") + "'",
          // The read refuses to build without referenced documents: the fresh settings must allow them.
          pdm + "load-into-cad Bracket",
          "wait idle 20",
          "start ZRBAddTempCmd",
          "wait status NO_STATUS 5",
          // The command waits on the session's timers for the PDM user.
          "sleep 1.5",
          pdm + "dialog complete --choose Bolt",
          "wait idle 20",
          "docs",
          // The info dialog over what was read, with a custom attribute asked for by its button.
          pdm + "vault set-attr Plate Material S235",
          "select Bracket/Plate.1",
          "start ZRBInfoCmd",
          "dialog ZRBInfoDialog push ZRBMoreButton",
          "dump --json " + dump,
      },
      {"--trace-file", trace, "--catalogs", catalogs});
  unsetenv("PDMSIM_VAULT");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_EQ(run.out.find("message box"), std::string::npos) << "no box came up\n" << run.out;
  EXPECT_EQ(run.out.find("ZRB: ["), std::string::npos) << "the trace went to its file\n" << run.out;

  const auto json = nlohmann::json::parse(SessionScratch::ReadFile(dump));
  // Each document with its window, Bolt's the temporary part's own.
  std::map<std::string, bool> windows;
  for (const auto& document : json["documents"]) windows[document["file"]] = document["ownWindow"];
  EXPECT_TRUE(windows["Bracket.CADProduct"]) << json["documents"];
  EXPECT_TRUE(windows["Bolt.CADPart"]) << json["documents"];
  EXPECT_EQ(json["products"].at(0)["properties"]["ZRB_OBID"].get<std::string>().rfind("IT", 0), 0u);
  EXPECT_TRUE(json["products"].at(0).contains("revision"));
  EXPECT_FALSE(json["fileProperties"].empty());
  // The read's message centre (a silent add-temporary shows none) with the keys of its lines, its status in the
  // site's words.
  const auto& centres = json["messageCentres"];
  ASSERT_EQ(centres.size(), 1u) << centres;
  EXPECT_EQ(centres[0]["status"],
            nlohmann::json::parse(R"({"text":"The site's own words.","key":"ZRBReadCmd.ReadOk"})"));
  EXPECT_EQ(centres[0]["informations"].at(0)["key"], "ZRBReadCmd.LoadOk");
  EXPECT_EQ(json["messageCentre"], centres[0]);
  EXPECT_EQ(json["commands"], nlohmann::json::parse(R"([{"name":"ZRBReadCmd","result":"succeeded"},)"
                                                    R"({"name":"ZRBAddTempCmd","result":"succeeded"}])"));

  EXPECT_EQ(json["infoDialog"]["rows"].at(0).at(1), "Plate") << json["infoDialog"];
  EXPECT_EQ(json["infoDialog"]["lines"], nlohmann::json::parse(R"(["Material = S235"])"));

  const std::string log = SessionScratch::ReadFile(trace);
  for (const char* line : {"ZRBAddTempCmd::StartAddTemp end OK", "ZRB: AddTemp Step 2 in PDM success!",
                           "ZRBCache::Unload"})  // the module's last lines, at unload, reach the file too
    EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST(SessionPdmRoundTrip, TheSessionEndingClosesThePdmDialogOfAWaitingCommand) {
  SessionScratch scratch;
  const std::string vault = scratch.Dir() + "/vault";
  setenv("PDMSIM_VAULT", vault.c_str(), 1);
  SessionRun run = scratch.RunScript({"shell pdmsim vault init", "start ZRBAddTempCmd", "wait status NO_STATUS 5"});
  const SessionRun journal = scratch.RunScript({"shell pdmsim journal"}, {"--no-module"});
  unsetenv("PDMSIM_VAULT");
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  const std::size_t opened = journal.out.find("x3AddTempCad");
  ASSERT_NE(opened, std::string::npos) << journal.out;
  EXPECT_NE(journal.out.find("x3CancelCadAddTemp", opened), std::string::npos) << journal.out;
}

}  // namespace
