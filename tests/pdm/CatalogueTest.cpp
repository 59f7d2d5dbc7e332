// The command catalogue: every command class can be created by name through the class dictionary, carries its
// class name, puts the process into its client's mode, and (while it is not available yet) ends cleanly.
#include <set>

#include "CADClassDictionary.h"
#include "CommandFixture.h"
#include "ZRBClientMode.h"
#include "ZRBCommand.h"
#include "ZRBReadCmd.h"
#include "ZRBSamReadCmd.h"

namespace {

// The catalogue as the PDM integration's users know it.
const std::vector<std::string> kStandardCommands = {
    "ZRBAddTempCmd",
    "ZRBAttachArchiveCmd",
    "ZRBAttachBlackBoxCmd",
    "ZRBBuildVisuCmd",
    "ZRBCatalogCmd",
    "ZRBCatalogReadCmd",
    "ZRBCatalogUpdCreCmd",
    "ZRBCheckReplaceCmd",
    "ZRBCreateCmd",
    "ZRBCreateDrawingEZRBCmd",
    "ZRBCreateForDocCmd",
    "ZRBCreateLegacyCmd",
    "ZRBDummyCmd",
    "ZRBExternalDocCmd",
    "ZRBGetDepByCmd",
    "ZRBGetOrigGeoAndVisCmd",
    "ZRBGetOrigGeoForVisCmd",
    "ZRBHighlightCmd",
    "ZRBHighlightInWBCmd",
    "ZRBModifyNonCadArchiveCmd",
    "ZRBMultiQuantityCmd",
    "ZRBOptionsCmd",
    "ZRBReadCmd",
    "ZRBReadMarkedCmd",
    "ZRBReconcileCmd",
    "ZRBReconnectCmd",
    "ZRBResetInvalidPosCmd",
    "ZRBRestorePositionCmd",
    "ZRBRestoreLocalCmd",
    "ZRBSaveLocalCmd",
    "ZRBSaveAsCmd",
    "ZRBSaveAsLegacyCmd",
    "ZRBSetWorkplaneCmd",
    "ZRBSynchronizeCmd",
    "ZRBTrafoAccumulateCmd",
    "ZRBUpdateAllPartsCmd",
    "ZRBUpdateCmd",
    "ZRBUsePdmStructureCmd",
    "ZRBWriteArcXMLCmd",
};
const std::vector<std::string> kSamCommands = {
    "ZRBSamAddTempCmd", "ZRBSamAttachArchiveCmd", "ZRBSamCreateCmd",      "ZRBSamHighlightInWBCmd",
    "ZRBSamReadCmd",    "ZRBSamStartCmd",         "ZRBSamSynchronizeCmd", "ZRBSamUpdateCmd",
};

class CatalogueTest : public CommandFixture {};

TEST_F(CatalogueTest, EveryCommandIsCreatedByNameInItsClientsMode) {
  const CADListValCADString registered = CADClassDictionary::ListNames();
  for (bool sam : {false, true}) {
    for (const std::string& name : sam ? kSamCommands : kStandardCommands) {
      SCOPED_TRACE(name);
      EXPECT_TRUE(registered.Locate(CADString(name)) > 0);
      ZRBClientMode::Sam().Apply();
      if (sam) ZRBClientMode::Standard().Apply();
      ZRBCommand* command = CADClassDictionary::CreateAs<ZRBCommand>(name);
      ASSERT_NE(command, nullptr);
      // The read-marked command is a read and is named as one.
      EXPECT_EQ(command->GetName(), CADString(name == "ZRBReadMarkedCmd" ? "ZRBReadCmd" : name));
      EXPECT_EQ(command->GetClientMode(), sam ? ZRBClientMode::Sam() : ZRBClientMode::Standard());
      EXPECT_EQ(ZRBClientMode::Current(), command->GetClientMode()) << "the newest command decides the mode";
      command->Release();
    }
  }
}

TEST_F(CatalogueTest, CommandsNotAvailableYetRunTheIntegrityCheckTraceAndEnd) {
  CaptureTrace();
  for (const std::string& name : kStandardCommands) {
    if (name == "ZRBDummyCmd") continue;  // no behaviour of its own
    // Available commands are tested in folders of their own.
    static const std::set<std::string> available = {"ZRBReadCmd",
                                                    "ZRBAddTempCmd",
                                                    "ZRBRestorePositionCmd",
                                                    "ZRBReadMarkedCmd",
                                                    "ZRBUsePdmStructureCmd",
                                                    "ZRBGetDepByCmd",
                                                    "ZRBExternalDocCmd",
                                                    "ZRBUpdateCmd",
                                                    "ZRBUpdateAllPartsCmd",
                                                    "ZRBResetInvalidPosCmd",
                                                    "ZRBSetWorkplaneCmd",
                                                    "ZRBHighlightCmd",
                                                    "ZRBHighlightInWBCmd",
                                                    "ZRBWriteArcXMLCmd",
                                                    "ZRBBuildVisuCmd",
                                                    "ZRBCreateCmd",
                                                    "ZRBCreateForDocCmd",
                                                    "ZRBCreateLegacyCmd",
                                                    "ZRBSaveAsCmd",
                                                    "ZRBSaveAsLegacyCmd",
                                                    "ZRBCreateDrawingEZRBCmd",
                                                    "ZRBSynchronizeCmd",
                                                    "ZRBGetOrigGeoForVisCmd",
                                                    "ZRBGetOrigGeoAndVisCmd",
                                                    "ZRBAttachArchiveCmd",
                                                    "ZRBAttachBlackBoxCmd",
                                                    "ZRBModifyNonCadArchiveCmd",
                                                    "ZRBMultiQuantityCmd"};
    if (available.count(name)) continue;
    SCOPED_TRACE(name);
    ZRBCommand* command = CADClassDictionary::CreateAs<ZRBCommand>(name);
    ASSERT_NE(command, nullptr);
    command->Activate(nullptr, nullptr);
    EXPECT_TRUE(command->IsDestructionRequested());
    EXPECT_TRUE(TraceHas("ZRB: " + name)) << Trace();
    Loop().RunPending();
  }
  EXPECT_TRUE(TraceHas("is not available yet"));
  EXPECT_TRUE(ShellLines().empty());
}

TEST_F(CatalogueTest, ModeAndTextArgumentsReachTheConstructor) {
  struct Case {
    const char* name;
    CADClassArgument argument;
    int mode;  // -1: the factory refuses the argument
  };
  const Case cases[] = {
      {"ZRBReadCmd", {}, 1},
      {"ZRBReadCmd", 5, 5},
      {"ZRBReadCmd", CADString("2"), 2},
      {"ZRBReadCmd", CADString("five"), -1},
      {"ZRBSamReadCmd", 5, 5},
      {"ZRBSamReadCmd", {}, 1},
  };
  for (const Case& c : cases) {
    auto* command = CADClassDictionary::CreateAs<ZRBReadCmd>(c.name, c.argument);
    if (c.mode < 0) {
      EXPECT_EQ(command, nullptr) << c.name;
      continue;
    }
    ASSERT_NE(command, nullptr) << c.name;
    EXPECT_EQ(command->GetMode(), c.mode) << c.name;
    command->Release();
  }
}

// The flags a command reads at construction are read under its own client's prefix.
TEST_F(CatalogueTest, SamCommandsReadTheirFlagsUnderTheSamPrefix) {
  SetVariable("SAM_ZRB_IGNORE_NONZRB_ROOT_CHILDREN", "ON");
  SetVariable("ZRB_CONFIGURABLE_NODE_BEHAVIOR", "ON");
  auto* sam = new ZRBSamReadCmd();
  EXPECT_EQ(sam->GetIgnoreNonZrbRootChildren(), 1);
  EXPECT_EQ(sam->GetConfigurableNodeBehavior(), 0);
  EXPECT_EQ(sam->GetBehaviorManager(), nullptr);
  auto* standard = new ZRBReadCmd();
  EXPECT_EQ(standard->GetIgnoreNonZrbRootChildren(), 0);
  EXPECT_EQ(standard->GetConfigurableNodeBehavior(), 1);
  EXPECT_NE(standard->GetBehaviorManager(), nullptr);
  sam->Release();
  standard->Release();
}

}  // namespace
