// zrbtool props on files the module wrote, on damaged files and on wrong use:
// the built binary, run without a shell.
#include <vector>

#include "PropsTestSupport.h"
#include "ToolRun.h"

namespace {
ToolRun RunZrbtool(const std::vector<std::string>& args) { return RunBuiltTool("zrbtool", args); }

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
}  // namespace

TEST_F(PropsTest, ZrbtoolPrintsEveryRecordReadably) {
  manager.SetGlobalProperty("ZRB_CONNECTION_CMD", "pdmcl -b --");
  manager.SetReferenceProperty("P&1", "ZRB_OBID", "line1\r\nline2\ttab");
  manager.SetReferenceProperty("P&1", "ZRB_MISSPELT", "x");
  manager.GetReferenceObject("P&1")->SetFullPath("/x/p1.CADPart");
  manager.GetReferenceObject("P&1")->BlackBoxItems().Append("/bb/item.stp");
  manager.SetFileProperty("/x/sizes.xls", "ZRB_TYPE", "DESIGNTABLE");
  manager.SetInstanceProperty("P&1", "Bolt.1", "ZRB_RELATION", "rel");
  manager.SetPathToRootProperty("/Root.1/Bolt.1", "ZRB_SAVE", "1");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);

  ToolRun run = RunZrbtool({"props", PathIn("pm.xml").str()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const char* line : {
           "read        whole",
           "process id  ",
           "global (shown only: a session keeps its own)",
           "    ZRB_CONNECTION_CMD = \"pdmcl -b --\"",
           "reference 1  \"P&1\"  (values not applied to the product yet)",
           "    FullPath              \"/x/p1.CADPart\"",
           "    black-box item        \"/bb/item.stp\"",
           "    ZRB_OBID     = \"line1\\r\\nline2\\ttab\"",
           "    ZRB_MISSPELT = \"x\"   (not a configured Reference name)",
           "file \"/x/sizes.xls\"",
           "instance \"Bolt.1\" under reference 1 (\"P&1\"), child reference 0 (not known yet)",
           "path-to-root \"/Root.1/Bolt.1\"",
           "1 global record, 1 reference, 1 file, 1 instance, 1 path-to-root record",
       })
    EXPECT_TRUE(Has(run.out, line)) << line << "\n---\n" << run.out;
}

TEST_F(PropsTest, ZrbtoolReportsDamageMissingFilesAndWrongUse) {
  manager.SetReferenceProperty("A", "ZRB_OBID", "1");
  manager.SetReferenceProperty("B", "ZRB_OBID", "2");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  std::string whole = Slurp(PathIn("pm.xml"));
  Spit(PathIn("cut.xml"), whole.substr(0, whole.find("<PartNumber>B")));

  ToolRun cut = RunZrbtool({"props", PathIn("cut.xml").str()});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_TRUE(Has(cut.out, "stopped at damage"));
  EXPECT_TRUE(Has(cut.out, "reference 1  \"A\""));
  EXPECT_FALSE(Has(cut.out, "\"B\""));
  EXPECT_TRUE(Has(cut.err, "damaged"));

  // An Id too large to hold is damage, not an Id 0 that the next such record would share.
  for (const char* id : {"4294967297", "x2", ""}) {
    std::string bad = whole;
    const std::size_t at = bad.find("<Id>2</Id>");
    ASSERT_NE(at, std::string::npos) << whole;
    Spit(PathIn("bad.xml"), bad.replace(at, 10, std::string("<Id>") + id + "</Id>"));
    ToolRun run = RunZrbtool({"props", PathIn("bad.xml").str()});
    EXPECT_EQ(run.exitCode, 1) << id;
    EXPECT_TRUE(Has(run.out, "reference 1  \"A\"")) << id;
    EXPECT_FALSE(Has(run.out, "\"B\"")) << id << run.out;
  }

  ToolRun missing = RunZrbtool({"props", PathIn("none.xml").str()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(Has(missing.err, "cannot read"));
  EXPECT_EQ(RunZrbtool({"props"}).exitCode, 2);
  EXPECT_EQ(RunZrbtool({"props", "--json", PathIn("pm.xml").str()}).exitCode, 2);
}
