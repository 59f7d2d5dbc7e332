// zrbtool archive: the stored golden archive prints whole and passes; damaged or inconsistent ones fail with the
// problem named.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ToolRun.h"

namespace {
namespace fs = std::filesystem;

TEST(ZrbtoolArchiveTest, PrintsAndChecksStructureFiles) {
  const fs::path golden = fs::path(ZRB_TEST_DATA_DIR) / "archives" / "Product.xml";
  ToolRun good = RunBuiltTool("zrbtool", {"archive", golden.string()});
  EXPECT_EQ(good.exitCode, 0) << good.err;
  for (const char* line : {"root    \"ROOT-\"1\"\"  under \"ASM-1 & <Father>\"",
                           "    child \"PLATE\" as \"Plate.2\" at \"1 0 0 0 1 0 0 0 1 10 0 0\"",
                           "non-CAD \"Notes & Specs.pdf\"  (extra directory)", "2 parts, 1 tables, 1 non-CAD files"})
    EXPECT_NE(good.out.find(line), std::string::npos) << line << "\n" << good.out;

  const fs::path dir = fs::temp_directory_path() / ("zrbtool-archive-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string root =
      "<Root><PartData><AttributeList><Attribute Name=\"PARTNUMBER\">A/B</Attribute>"
      "<Attribute Name=\"FILENAME\">..</Attribute></AttributeList></PartData><Children>"
      "<Child ChildId=\"GHOST\" InstanceName=\"g\"/></Children></Root>";
  const struct {
    std::string text;
    const char* problem;
  } cases[] = {
      {"<ZRBArchive><Root>", "cannot read"},
      {"<ZRBArchive>" + root + "</ZRBArchive>", "cannot name an archive"},
      {"<ZRBArchive>" + root + "</ZRBArchive>", "names no plain file"},
      {"<ZRBArchive>" + root + "</ZRBArchive>", "child \"GHOST\", which is no part"},
      {"<ZRBArchive>" + root + "</ZRBArchive>", "no ZRBArchive.dtd beside it"},
  };
  for (const auto& c : cases) {
    std::ofstream(dir / "A.xml") << c.text;
    ToolRun bad = RunBuiltTool("zrbtool", {"archive", (dir / "A.xml").string()});
    EXPECT_EQ(bad.exitCode, 1) << c.problem;
    EXPECT_NE(bad.err.find(c.problem), std::string::npos) << bad.err;
  }
  fs::remove_all(dir);
}

}  // namespace
