// The end-to-end fixture itself: the PDM user's choice reaches this process's loop through the bridge, and the
// PDM's own session command runs through the real shell.
#include <cstdlib>

#include "PdmEndToEndFixture.h"

namespace {

class EndToEndFixtureTest : public PdmEndToEndFixture {};

TEST_F(EndToEndFixtureTest, TheVaultHoldsTheSampleSessionAndTheJournalRecordsSessionCalls) {
  ImportSampleSession();
  EXPECT_NE(Pdm("vault", "ls").find("Plate-DRW"), std::string::npos);
  EXPECT_TRUE(JournalActions().empty());

  Pdm("load-into-cad", "--no-start", "Bolt");
  WriteFile(XmapFile("xfile.zrb"), "@COMMAND\n{COMMAND} REQUEST_READ\n{EXMAP} " + Xmap() + "\n\n");
  ASSERT_EQ(std::system(("pdmcl -b -- PdmSessn x3WriteZRBFile '" + XmapFile("xfile.zrb") + "'").c_str()), 0);
  std::vector<PdmCall> calls = Journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].action, "x3WriteZRBFile");
  EXPECT_EQ(calls[0].args, std::vector<std::string>{XmapFile("xfile.zrb")});
  EXPECT_NE(JournalRequest(1).find("{COMMAND} REQUEST_READ"), std::string::npos);
  EXPECT_TRUE(Exists(XmapFile("Bolt.CADPart")));
}

}  // namespace
