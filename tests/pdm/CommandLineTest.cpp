// The command lines that reach the shell: action words, quoted paths and the connection command in force.

#include <filesystem>
#include <set>

#include "CommandFixture.h"
#include "ExchangeTestSupport.h"
#include "XmapScratchDirectory.h"
#include "ZRBAfx.h"
#include "ZRBClientMode.h"
#include "ZRBPdmAction.h"
#include "ZRBTwoStepKinds.h"

namespace {

class CommandLineTest : public CommandFixture {};

TEST_F(CommandLineTest, PathsBecomeOneShellWordWhateverTheyHold) {
  struct Case {
    std::string_view word;
    std::vector<const char*> paths;
    const char* line;
  };
  const Case cases[] = {
      {ZRBPdmAction::CancelCadAddTemp, {}, "pdmcl -b -- PdmSessn x3CancelCadAddTemp"},
      {ZRBPdmAction::AddTempCad, {"/x/atfile.zrb"}, "pdmcl -b -- PdmSessn x3AddTempCad '/x/atfile.zrb'"},
      {ZRBPdmAction::AddTempCad, {"/ex map/at file.zrb"}, "pdmcl -b -- PdmSessn x3AddTempCad '/ex map/at file.zrb'"},
      {ZRBPdmAction::UpdateFromFile,
       {"/x/it's \"q\".zrb"},
       "pdmcl -b -- PdmSessn x3UpdateFromFile '/x/it'\\''s \"q\".zrb'"},
      {ZRBPdmAction::WriteZRBFile,
       {"/x/$HOME/`id`/$(rm -rf ~).zrb"},
       "pdmcl -b -- PdmSessn x3WriteZRBFile '/x/$HOME/`id`/$(rm -rf ~).zrb'"},
      {ZRBPdmAction::GetDependentFiles, {"/a;b", "''"}, "pdmcl -b -- PdmSessn x3GetDependentFiles '/a;b' ''\\'''\\'''"},
      {ZRBPdmAction::UpdateWBFromFile, {""}, "pdmcl -b -- PdmSessn x3UpdateWBFromFile ''"},
  };
  ZRBClientMode::Standard().Apply();
  for (const Case& c : cases) {
    ClearShellLines();
    CADUnicodeString argument = c.paths.empty()       ? ZRBPdmAction::Line(c.word)
                                : c.paths.size() == 1 ? ZRBPdmAction::Line(c.word, c.paths[0])
                                                      : ZRBPdmAction::Line(c.word, c.paths[0], c.paths[1]);
    EXPECT_EQ(ZRBAfx::ConnectPdm(argument, 0), 0);
    EXPECT_EQ(ShellLines(), std::vector<std::string>{c.line});
  }
}

// The real shell must hand the PDM exactly the words the module meant, and run nothing that a path holds.
TEST_F(CommandLineTest, TheRealShellPassesHostilePathsThroughUnchanged) {
  UseRealShell();
  XmapScratchDirectory scratch;
  const std::string directory = scratch.Root();
  const std::string argvFile = directory + "/argv";
  const std::string witness = directory + "/ran";
  // The connection command is a shell fragment: here it writes each argument on a line of its own.
  const std::string connection = "printf '%s\\n' >'" + argvFile + "'";
  SetVariable("ZRB_CONNECTPDM", connection.c_str());

  const std::vector<std::string> paths = {
      directory + "/a b/it's/$(touch " + witness + ")/`touch " + witness + "`/$HOME/\\n/x.zrb",
      "'",
      "\"",
      "*",
      " leading and trailing ",
  };
  for (const std::string& path : paths) {
    EXPECT_EQ(ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::AddTempCad, path), 0), 0) << path;
    EXPECT_EQ(ReadBytes(argvFile), "PdmSessn\nx3AddTempCad\n" + path + "\n");
  }
  EXPECT_FALSE(std::filesystem::exists(witness)) << "a path was run as a command";
}

TEST_F(CommandLineTest, TheSiteOverrideReplacesTheConnectionCommandOfItsClient) {
  struct Case {
    bool sam;
    const char* variable;  // null: no override set
    const char* value;
    const char* line;
  };
  for (const Case& c : {Case{false, nullptr, nullptr, "pdmcl -b -- PdmSessn x3GetBomTypes"},
                        Case{false, "ZRB_CONNECTPDM", "/opt/pdm/bin/pdmcl -b -v --",
                             "/opt/pdm/bin/pdmcl -b -v -- PdmSessn x3GetBomTypes"},
                        Case{false, "SAM_ZRB_CONNECTPDM", "samx", "pdmcl -b -- PdmSessn x3GetBomTypes"},
                        Case{true, nullptr, nullptr, "samcl PdmSessn x3GetBomTypes"},
                        Case{true, "SAM_ZRB_CONNECTPDM", "samx --port 7", "samx --port 7 PdmSessn x3GetBomTypes"},
                        Case{true, "ZRB_CONNECTPDM", "mypdm", "samcl PdmSessn x3GetBomTypes"}}) {
    SCOPED_TRACE(c.line);
    ClearShellLines();
    SetVariable("ZRB_CONNECTPDM", nullptr);
    SetVariable("SAM_ZRB_CONNECTPDM", nullptr);
    if (c.variable) SetVariable(c.variable, c.value);
    (c.sam ? ZRBClientMode::Sam() : ZRBClientMode::Standard()).Apply();
    ZRBAfx::ConnectPdm(ZRBPdmAction::Line(ZRBPdmAction::GetBomTypes), 0);
    EXPECT_EQ(ShellLines(), std::vector<std::string>{c.line});
  }
}

TEST_F(CommandLineTest, EveryActionWordIsKnownOnceAndTheCancelWordsFollowTheKinds) {
  std::set<std::string_view> seen;
  for (std::string_view word : ZRBPdmAction::AllWords()) {
    EXPECT_TRUE(seen.insert(word).second) << word;
    EXPECT_TRUE(word.starts_with("x3") || word == "StartSam") << word;
  }
  EXPECT_EQ(seen.size(), 40u);
  EXPECT_EQ(ZRBTwoStepKinds::Of(ZRBRunningCommandKind::AddTemp).cancelWord, "x3CancelCadAddTemp");
  EXPECT_EQ(ZRBTwoStepKinds::Of(ZRBRunningCommandKind::SaveAs).cancelWord, "x3CancelCadSaveAs");
  EXPECT_EQ(ZRBTwoStepKinds::Of(ZRBRunningCommandKind::CreateForDocument).cancelWord, "x3CancelCreateForDoc");
  EXPECT_EQ(ZRBTwoStepKinds::Of(ZRBRunningCommandKind::UsePdmStructure).cancelWord, "x3CancelUsePdmStruct");
  EXPECT_TRUE(ZRBTwoStepKinds::Of(ZRBRunningCommandKind::None).cancelWord.empty());
  EXPECT_TRUE(ZRBTwoStepKinds::Of(static_cast<ZRBRunningCommandKind>(9)).cancelWord.empty());
}

}  // namespace
