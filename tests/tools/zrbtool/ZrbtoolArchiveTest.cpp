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
  const std::pair<std::string, std::vector<const char*>> cases[] = {
      {"<ZRBArchive><Root>", {"cannot read"}},
      {"<ZRBArchive>" + root + "</ZRBArchive>",
       {"cannot name an archive", "names no plain file", "child \"GHOST\", which is no part",
        "no ZRBArchive.dtd beside it"}},
  };
  for (const auto& [text, problems] : cases) {
    std::ofstream(dir / "A.xml") << text;
    ToolRun bad = RunBuiltTool("zrbtool", {"archive", (dir / "A.xml").string()});
    EXPECT_EQ(bad.exitCode, 1) << text;
    for (const char* problem : problems) EXPECT_NE(bad.err.find(problem), std::string::npos) << problem << bad.err;
  }
  fs::remove_all(dir);
}

}  // namespace
