// What the reference PDM tells about parts before a save: standard parts from its vault list, part types per
// part number with a default, a part it is made to fail answered without information.
#include <gtest/gtest.h>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsim::ExchangeFile;
using pdmsimtest::PdmSimHarness;

TEST(PartInfo, StandardPartsAndPartTypesComeFromTheVaultLists) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  harness.Admin({"part-info", "standard", "BOLT"});
  harness.Admin({"part-info", "bom-type", "NEW1", "BOM"});
  harness.Admin({"part-info", "bom-type", "*", "NOT_BOM"});
  harness.Admin({"fault", "set", "x3GetInfoForParts", "--fail-for", "GONE", "--times", "1"});
  EXPECT_NE(harness.Admin({"part-info", "ls"}).find("standard BOLT"), std::string::npos);
  EXPECT_NE(harness.Run("pdmsim", {"--vault", harness.Vault(), "part-info", "standard", "NOPE"}).exitCode, 0);

  struct Case {
    const char* action;
    const char* request;
    const char* slot;
    std::vector<std::pair<const char*, const char*>> expected;  // object key, slot value ("-" for none)
    const char* result;
  };
  const Case cases[] = {
      {"x3GetInfoForParts",
       "@ROOT\n{ACTION_SUCCESS} 0\n{OBJECTLIST} {1} {2} {3}\n\n@1\n{PARTNUMBER} BOLT\n\n@2\n{PARTNUMBER} SHAFT\n\n"
       "@3\n{PARTNUMBER} GONE\n\n",
       "IS_STD_PART",
       {{"1", "1"}, {"2", "0"}, {"3", "-"}},
       "3"},
      {"x3GetBomTypes",
       "@ROOT\n{ACTION_SUCCESS} 0\n{PROCESS} GetBomTypes\n{NEXT_OP} 1\n\n@1\n{PARTNUMBER} NEW1\n{NEXT_OP} 2\n\n"
       "@2\n{PARTNUMBER} NEW2\n{NEXT_OP} 1\n\n",
       "BOM_TYPE",
       {{"1", "BOM"}, {"2", "NOT_BOM"}},
       "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    const std::string path = harness.XmapFile("parts.zrb");
    PdmSimHarness::WriteFile(path, c.request);
    ASSERT_EQ(harness.Session(c.action, path).exitCode, 0);
    const ExchangeFile answer = ExchangeFile::Parse(PdmSimHarness::ReadFile(path));
    EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), c.result);
    for (const auto& [key, value] : c.expected) {
      const pdmsim::ExchangeObject* object = answer.Find(key);
      ASSERT_NE(object, nullptr) << key;
      EXPECT_EQ(object->Has(c.slot) ? object->Get(c.slot) : "-", value) << key;
    }
  }
}

}  // namespace
