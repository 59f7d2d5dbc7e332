// zrbtool content as integration engineers run it on content files.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "CADClock.h"
#include "ToolRun.h"
#include "XmapScratchDirectory.h"
#include "ZRBXmapManager.h"

namespace {

ToolRun RunTool(const std::vector<std::string>& args) { return RunBuiltTool("zrbtool", args); }

class ContentToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CADClock::SetOverride([] { return CADTimeB{1700000000, 0}; });
    content_ = dir_.Path("content.zrb");
  }
  void TearDown() override { CADClock::SetOverride({}); }

  XmapScratchDirectory dir_;
  std::string content_;
};

TEST_F(ContentToolTest, JsonShowsTheEntriesTheModuleKeepsInListOrder) {
  dir_.WriteSized("b.model", 42);
  dir_.SetModTime("b.model", 1600000000);
  dir_.Write("a.CADPart.vis", "v");
  dir_.SetModTime("a.CADPart.vis", 1600000001);
  ZRBXmapManager manager;
  manager.SetContentFileFullPath(CADUnicodeString(content_));
  manager.AddFile("OB\"2", "2024-01-01 00:00:00.000", "b.model", "DB", "Model");
  manager.AddFile("OB1", "2024-02-02 00:00:00.000", "a.CADPart.vis", "", "Part");
  ASSERT_EQ(manager.Write(), 1);
  ToolRun run = RunTool({"content", "--json", content_});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(run.out),
            nlohmann::json::parse(
                "{\"read\": 1, \"entries\": ["
                "{\"fileModTime\": 1600000001, \"lastAccess\": 1700000000, \"fileSize\": 1, \"obid\": \"OB1\", "
                "\"modificationDate\": \"2024-02-02 00:00:00.000\", \"fileName\": \"a.CADPart.vis\", \"dbName\": \"\", "
                "\"className\": \"Part\", \"sortKey\": \"a.CADPart\"}, "
                "{\"fileModTime\": 1600000000, \"lastAccess\": 1700000000, \"fileSize\": 42, \"obid\": \"OB\\\"2\", "
                "\"modificationDate\": \"2024-01-01 00:00:00.000\", \"fileName\": \"b.model\", \"dbName\": \"DB\", "
                "\"className\": \"Model\", \"sortKey\": \"b.model\"}]}\n"))
      << run.out;

  ToolRun readable = RunTool({"content", content_});
  EXPECT_EQ(readable.exitCode, 0);
  for (const char* part :
       {"header  \"ZRB_CONT_V2.0.0\" 4 4 4", "[1] a.CADPart.vis", "sort key           a.CADPart",
        "file time          1600000001  2020-09-13 12:26:41 UTC", "size               42 bytes", "2 entries"})
    EXPECT_NE(readable.out.find(part), std::string::npos) << part << "\n" << readable.out;
}

// Which damage the module ignores is the content reader's own test; the tool's part is the verdict and exit status.
TEST_F(ContentToolTest, ReportsWhatTheModuleWouldIgnore) {
  std::string header = "ZRB_CONT_V2.0.0";
  for (int i = 0; i < 3; ++i) header += std::string("\x04\0\0\0", 4);
  const std::tuple<std::string, int, const char*> cases[] = {
      {header, 0, R"({"read": 1, "entries": []})"},
      {header.substr(0, 26), 1, R"({"read": 0, "entries": []})"},
      {header + std::string(20, '\xff'), 1, R"({"read": 1, "entries": []})"},
  };
  for (const auto& [bytes, exitCode, json] : cases) {
    dir_.Write("content.zrb", bytes);
    ToolRun run = RunTool({"content", "--json", content_});
    EXPECT_EQ(run.exitCode, exitCode) << json;
    EXPECT_EQ(nlohmann::json::parse(run.out), nlohmann::json::parse(json)) << run.out;
  }
}

TEST_F(ContentToolTest, UsageAndMissingFiles) {
  EXPECT_EQ(RunTool({"content"}).exitCode, 2);
  EXPECT_EQ(RunTool({"content", "--bogus", content_}).exitCode, 2);
  EXPECT_EQ(RunTool({"content", dir_.Path("none.zrb")}).exitCode, 1);
  EXPECT_EQ(RunTool({"content", dir_.Root()}).exitCode, 1);
}

}  // namespace
