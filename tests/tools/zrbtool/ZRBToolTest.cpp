// zrbtool as integration engineers run it: the built binary on hand-written
// PDM-style files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "ToolRun.h"

namespace {
// zrbtool's run; `mergeErrors` appends standard error to the output.
ToolRun RunTool(const std::vector<std::string>& args, bool mergeErrors = false) {
  ToolRun run = RunBuiltTool("zrbtool", args);
  if (mergeErrors) run.out += run.err;
  return run;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The reading rules themselves are the module reader's (tested with these files in tests/exchange); here the
// tool's JSON: escapes, line breaks, and what precedes a stop line.
TEST(ZRBTool, DumpJsonEscapesAndKeepsWhatPrecedesAStop) {
  ScratchDir dir;
  WriteBytes(dir.File("f.zrb"), "@K\"1\n{A} say \"hi\"\\ now@EOL@next\n{B} tab\there \x01 M\xFCller\n");
  const std::pair<std::string, const char*> cases[] = {
      {dir.File("f.zrb"),
       R"([{"key": "K\"1", "slots": [["A", "say \"hi\"\\ now\nnext"], ["B", "tab\there \u0001 M\u00fcller"]]}])"},
      {TestData("pdm-stop-mid.zrb"), R"([{"key": "ROOT", "slots": [["ACTION_SUCCESS", "1"],
          ["STATS", "{Saved 2 documents} {Checked in}"]]}, {"key": "0", "slots": [["ZRB_OBID", "4711-0815"]]}])"},
      {TestData("first-line-empty.zrb"), "[]"},
  };
  for (const auto& [file, json] : cases) {
    ToolRun run = RunTool({"dump", "--json", file});
    EXPECT_EQ(run.exitCode, 0) << file;
    EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(json)) << file << "\n" << run.out;
  }
}

TEST(ZRBTool, DumpShowsListsAsItemsAndLineBreaksAsLines) {
  ToolRun run = RunTool({"dump", TestData("golden-request.zrb")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(Has(run.out, "  DESCRIPTION  first line\n               second line\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "  FILES        (list of 3 items)\n               - part.CADPart\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "@1    (no slots)\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "4 objects, 9 slots\n")) << run.out;
  ToolRun stopped = RunTool({"dump", TestData("pdm-stop-mid.zrb")}, true);
  EXPECT_TRUE(Has(stopped.out, "reading stopped at line 7")) << stopped.out;
}

TEST(ZRBTool, CheckReportsWhereAndWhyContentIsIgnored) {
  // What the file holds, the exit status, and the reports that must appear ("|" between several).
  const std::tuple<std::string, int, std::string> cases[] = {
      {"@ROOT\n{ACTION_SUCCESS} 1\n", 0, "1 object, 1 slot read; everything in the file is read"},
      {"", 0, "0 objects, 0 slots read (the file is empty)"},
      {"\n\n  \n", 0, "everything in the file is read"},
      {"\n@ROOT\n", 1, ":1: error: reading stops here: the first line is empty|(1 non-blank line, 1 object header)"},
      {"ROOT\n", 1, ":1: error: reading stops here: the file does not begin with an object header"},
      {"@A\n{X} 1\ngarbage\n@B\n", 1,
       ":3: error: reading stops here: neither an object header|\"garbage\"|lines 3-4 are ignored"},
      {"@A\n{X 1\n", 1, ":2: error: reading stops here: unterminated slot name"},
      {"@A\n@\n{X} 1\n", 1, ":2: error: reading stops here: object header without a key"},
      {"@A\r\n{X}\r\n", 1, ":2: error: reading stops here: slot line ends right after \"}\""},
      {"@A\n\n{X} " + std::string(16400, 'x') + "\n", 1,
       ":3: error: value of slot X is cut to 16300 bytes (the line holds 16401 bytes"},
      {"@A\n{{X} 1\n", 1, ":2: error: slot name \"{X\" cannot be stored"},
      {"@A\n{X} 1\n{x} 2\n", 1, ":3: error: slot X repeats (first in line 2)"},
      {"@A\n@A\n", 0, ":2: warning: object key \"A\" repeats (first in line 1)"},
      {"@A\n{NAME} M\xFCller\n", 0, ":2: warning: value of slot NAME is not UTF-8"},
      {"\xEF\xBB\xBF@A\n", 0, ":1: warning: the file begins with a UTF-8 byte order mark"},
  };
  ScratchDir dir;
  for (const auto& [bytes, exitCode, reports] : cases) {
    WriteBytes(dir.File("f.zrb"), bytes);
    ToolRun run = RunTool({"check", dir.File("f.zrb")});
    EXPECT_EQ(run.exitCode, exitCode) << reports << "\n" << run.out;
    for (std::size_t from = 0, bar; from <= reports.size(); from = bar + 1) {
      bar = std::min(reports.find('|', from), reports.size());
      EXPECT_TRUE(Has(run.out, reports.substr(from, bar - from))) << reports << "\n" << run.out;
    }
  }
}

TEST(ZRBTool, UsageAndHelp) {
  const std::pair<std::vector<std::string>, int> cases[] = {
      {{}, 2},
      {{"frobnicate", "x"}, 2},
      {{"dump"}, 2},
      {{"dump", "--yaml", "f"}, 2},
      {{"check", "a", "b"}, 2},
      {{"--help"}, 0},
      {{"help", "dump"}, 0},
      {{"check", "--help"}, 0},
      {{"dump", "/no/such/file.zrb"}, 1},
  };
  for (const auto& [args, code] : cases) EXPECT_EQ(RunTool(args).exitCode, code) << ::testing::PrintToString(args);
  ToolRun help = RunTool({"--help"});
  EXPECT_TRUE(Has(help.out, "dump [--json] FILE")) << help.out;
  EXPECT_TRUE(Has(help.out, "check FILE")) << help.out;
  ToolRun dump = RunTool({"help", "dump"});
  EXPECT_TRUE(Has(dump.out, "Usage: zrbtool dump [OPTIONS] FILE") && Has(dump.out, "--json")) << dump.out;
}
}  // namespace
