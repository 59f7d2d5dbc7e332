// The SAM client's commands without a PDM: the read settings come from the "SAM_" names alone, and the commands
// handed over to belong to the client of the command handing over.
#include <string>

#include "CommandFixture.h"
#include "ZRBClientMode.h"
#include "ZRBFollowOnCommands.h"
#include "ZRBInfoUtil.h"
#include "ZRBSamCreateCmd.h"
#include "ZRBSamReadCmd.h"
#include "ZRBSamSynchronizeCmd.h"

namespace {

class SamCommandsTest : public CommandFixture {};

TEST_F(SamCommandsTest, ReadSettingsComeFromTheSamNamesAlone) {
  struct Case {
    const char* sam;       // SAM_ZRB_DISABLE_LOAD_STDCADPARTS
    const char* standard;  // ZRB_DISABLE_LOAD_STDCADPARTS
    int samRead, standardRead;
  };
  for (const Case& c : {Case{"ON", "", 1, 0}, Case{"", "ON", 0, 1}, Case{"ON", "ON", 1, 1}, Case{"on", "", 0, 0}}) {
    SCOPED_TRACE(std::string(c.sam) + "/" + c.standard);
    SetVariable("SAM_ZRB_DISABLE_LOAD_STDCADPARTS", c.sam);
    SetVariable("ZRB_DISABLE_LOAD_STDCADPARTS", c.standard);
    auto* sam = new ZRBSamReadCmd(1, 0, 100);
    auto* standard = new ZRBReadCmd();
    EXPECT_EQ(sam->GetState().disableLoadStdCadParts, c.samRead);
    EXPECT_EQ(standard->GetState().disableLoadStdCadParts, c.standardRead);
    sam->Release();
    standard->Release();
  }
}

TEST_F(SamCommandsTest, FollowOnCommandsBelongToTheClientOfTheCommandHandingOver) {
  auto* samSync = new ZRBSamSynchronizeCmd();
  auto* standardSync = new ZRBSynchronizeCmd();
  auto* samCreate = new ZRBSamCreateCmd();
  const std::pair<ZRBCommand*, bool> created[] = {
      {ZRBFollowOnCommands::Create<ZRBUpdateCmd>(*samSync, "ZRBUpdateCmd", 1, 1, 1), true},
      {ZRBFollowOnCommands::Create<ZRBUpdateCmd>(*standardSync, "ZRBUpdateCmd", 1, 1, 1), false},
      {ZRBFollowOnCommands::Create<ZRBReadCmd>(*samSync, "ZRBReadCmd", 1, 0, 100), true},
      {samCreate->CreateUpdateCmd(), true}};
  for (auto [command, sam] : created) {
    SCOPED_TRACE(command->GetName().str());
    EXPECT_EQ(command->GetClientMode().IsSam(), sam);
    EXPECT_EQ(command->GetName().str().rfind("ZRBSam", 0) == 0, sam);
    command->Release();
  }
  for (ZRBCommand* command : std::initializer_list<ZRBCommand*>{samSync, standardSync, samCreate}) command->Release();
}

// Each client talks to a PDM of its own: what one PDM said of its design tables never decides the other's saves.
TEST_F(SamCommandsTest, EachClientKeepsItsOwnPdmsSettings) {
  ZRBClientMode::Standard().Apply();
  ZRBInfoUtil::SetUseDesigTables(1);
  ZRBInfoUtil::SetDataModelValue("CMPONENT_DATA_MODEL");
  ZRBClientMode::Sam().Apply();
  EXPECT_TRUE(ZRBInfoUtil::GetUseDesignTables().IsEmpty()) << "the SAM client's PDM was not asked yet";
  ZRBInfoUtil::SetUseDesigTables(0);
  ZRBClientMode::Standard().Apply();
  EXPECT_EQ(ZRBInfoUtil::GetUseDesignTables(), "ON");
  EXPECT_EQ(ZRBInfoUtil::GetDataModelValue(), "CMPONENT_DATA_MODEL");
  ZRBClientMode::Sam().Apply();
  EXPECT_EQ(ZRBInfoUtil::GetUseDesignTables(), "OFF");
  ZRBClientMode::Standard().Apply();
  ZRBInfoUtil::ResetForTests();
}

}  // namespace
