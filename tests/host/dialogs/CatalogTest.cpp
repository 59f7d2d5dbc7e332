#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CADCatalogFile.h"
#include "CADMsgCatalog.h"
#include "CADRscCatalog.h"
#include "XmapScratchDirectory.h"

namespace {

TEST(CADCatalogFile, ReadsKeysTextsAndEscapesAndReportsWhatItSkips) {
  const std::string content =
      "\xEF\xBB\xBF# comment\r\n"
      "Plain = Hello world  \r\n"
      "  Indented.Key=two\\nlines\\ttab \\\\ back \\q,\\s\n"
      "\n"
      "NoEquals\n"
      "bad key = x\n"
      "= no key\n"
      "Plain = second text\n"
      "Empty =\n"
      "Unicode = Größe /p1";
  CADCatalogFile file = CADCatalogFile::Parse(content, "t.msg");
  struct Expect {
    const char* key;
    const char* text;  // null: absent
  };
  for (auto e : {Expect{"Plain", "Hello world"}, Expect{"Indented.Key", "two\nlines\ttab \\ back \\q, "},
                 Expect{"Empty", ""}, Expect{"Unicode", "Größe /p1"}, Expect{"NoEquals", nullptr},
                 Expect{"bad key", nullptr}, Expect{"# comment", nullptr}}) {
    const std::string* text = file.Find(e.key);
    if (!e.text) {
      EXPECT_EQ(text, nullptr) << e.key;
      continue;
    }
    ASSERT_NE(text, nullptr) << e.key;
    EXPECT_EQ(*text, e.text) << e.key;
  }
  EXPECT_EQ(file.Size(), 4);
  ASSERT_EQ(file.GetDiagnostics().size(), 4u);  // no '=', bad key, empty key, repeated key
  EXPECT_EQ(file.GetDiagnostics()[0], "t.msg:5: no '=' in line, skipped");
  EXPECT_NE(file.GetDiagnostics()[3].find("given again"), std::string::npos);
}

TEST(CADCatalogFile, SubstitutesParametersInOnePass) {
  struct Case {
    const char* text;
    std::vector<std::string> parameters;
    const char* result;
  };
  const std::vector<Case> cases = {
      {"File /p1 in /p2", {"a.prt", "/x"}, "File a.prt in /x"},
      {"/p2 before /p1", {"one", "two"}, "two before one"},
      {"missing /p3", {"one"}, "missing /p3"},
      {"no expansion of /p1", {"/p2"}, "no expansion of /p2"},
      {"/p0 and /pa and /p", {"x"}, "/p0 and /pa and /p"},
      {"/p10", {"one"}, "one0"},
      {"end /p1", {""}, "end "},
  };
  for (const Case& c : cases) EXPECT_EQ(CADCatalogFile::Substitute(c.text, c.parameters), c.result) << c.text;
}

class CatalogLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(root / "site");
    std::filesystem::create_directories(root / "std");
    Write("std/Cmd.msg", "Failed = The command failed for /p1.\nCmd.Dotted = whole key\n");
    Write("std/Other.msg", "Only = standard other\n");
    Write("site/Other.msg", "Only = site other\n");
    Write("std/Cmd.rsc", "Column.Width = 12\n");
    CADMsgCatalog::SetCatalogPath((root / "site").string() + "::" + (root / "std").string());
  }
  void TearDown() override { CADMsgCatalog::Reset(); }
  void Write(const std::string& name, const std::string& content) { std::ofstream(root / name) << content; }
  XmapScratchDirectory scratch;
  const std::filesystem::path root = scratch.Root();
};

TEST_F(CatalogLookupTest, FindsKeysWithOrWithoutTheirCatalogPrefixAlongThePath) {
  CADUnicodeString parameter("a.prt");
  const CADUnicodeString failed("The command failed for a.prt.");
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Cmd", "Cmd.Failed", &parameter, 1), failed);
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Cmd", "Failed", &parameter, 1), failed);
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Cmd", "Cmd.Dotted"), CADUnicodeString("whole key"));
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Other", "Other.Only"), CADUnicodeString("site other"));  // first dir wins
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Cmd", "Cmd.Missing", nullptr, 0, "fallback /p1"),
            CADUnicodeString("fallback /p1"));  // defaults are given back as they are
  EXPECT_EQ(CADMsgCatalog::BuildMessage("Nope", "Nope.X"), CADUnicodeString());
  for (const char* unsafe : {"../std/Cmd", "", ".hidden", "std/Cmd"})
    EXPECT_EQ(CADMsgCatalog::BuildMessage(unsafe, "Failed", nullptr, 0, "d"), CADUnicodeString("d")) << unsafe;

  CADUnicodeString width("unchanged");
  EXPECT_EQ(CADRscCatalog::BuildResource("Cmd", "Cmd.Column.Width", width), 1);
  EXPECT_EQ(width, CADUnicodeString("12"));
  CADUnicodeString missing("unchanged");
  EXPECT_EQ(CADRscCatalog::BuildResource("Cmd", "Cmd.Failed", missing), 0);  // .msg texts are not resources
  EXPECT_EQ(missing, CADUnicodeString("unchanged"));
}

TEST(CatalogShipped, EveryShippedCatalogReadsCleanly) {
  std::filesystem::path dir = std::filesystem::path(ZRB_SOURCE_DIR) / "resources" / "msgcatalog";
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    auto ext = entry.path().extension();
    if (ext != ".msg" && ext != ".rsc") continue;
    ++files;
    CADCatalogFile file = CADCatalogFile::Load(entry.path().string());
    EXPECT_TRUE(file.GetDiagnostics().empty()) << file.GetDiagnostics().front();
    EXPECT_GT(file.Size(), 0) << entry.path();
  }
  EXPECT_GT(files, 5);
}

}  // namespace
