// The identity check before a save: a node whose file another document replaced since the read is not sent as
// that node. Every case starts from a read's state with the identifiers recorded.
#include <gtest/gtest.h>

#include <string>

#include "LoadedFromPdm.h"
#include "ZRBIdentityCheck.h"
#include "ZRBSyncRules.h"
#include "ZRBUpdateAllPartsCmd.h"

namespace {

constexpr const char* kOther =
    "CADHOST-DOCUMENT 1 CADPart\nidentifier 0123abcd-0000-4000-8000-00000000beef\npartnumber \"Plate\"\nend\n";

class IdentityCheckTest : public save_test::LoadedAssemblyTest {
 public:
  // The read's state; Plate modified and, with `replaced`, another document's file over it.
  void Start(bool replaced) {
    Restart();
    SetVariable("ZRB_READ_UUID", "ON");
    for (const char* path : {"", "Bracket.1", "Bracket.1/Plate.1", "Bracket.1/Bolt.1"})
      ZRBIdentityCheck::Remember(At(path));
    Plate()->SetDirty(1);
    if (replaced) session_->WriteFile("Plate.CADPart", kOther);
  }
  void TearDown() override {
    for (const char* name : {"ZRB_READ_UUID", "ZRB_ENABLE_INTERACTIVEUUIDCHECK"}) SetVariable(name, nullptr);
    LoadedAssemblyTest::TearDown();
  }
  CADDocument* Plate() { return Doc("Plate.CADPart"); }
  std::string Run(ZRBUpdateCmd* command) {
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings += text.str() + "\n";
    Loop().RunPending();
    return warnings;
  }
};

TEST_F(IdentityCheckTest, AReplacedFileIsNotSentAsItsNode) {
  const struct {
    const char* name;
    bool replaced;
    const char* setting;  // switched to "ON" (ZRB_READ_UUID: off)
    int answer;           // to the question; 0 when none is asked
    const char* warning;  // the save was refused with it; "" when it was sent
  } cases[] = {
      {"the same document", false, nullptr, 0, ""},
      {"switched off", true, "ZRB_READ_UUID", 0, ""},
      {"nothing recorded at the read", true, "STORED_UUID", 0, ""},
      {"replaced", true, nullptr, 0, "does not match its file"},
      {"replaced, the designer refuses", true, "ZRB_ENABLE_INTERACTIVEUUIDCHECK", 4, "was cancelled"},
      {"replaced, the designer goes on", true, "ZRB_ENABLE_INTERACTIVEUUIDCHECK", 3, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.replaced);
    const std::string_view setting = c.setting ? c.setting : "";
    if (setting == "STORED_UUID")
      GlobPropertyManager.DeleteReferenceProperty(Plate()->GetRootProduct(), "STORED_UUID");
    else if (c.setting)
      SetVariable(c.setting, setting == "ZRB_READ_UUID" ? nullptr : "ON");
    if (c.answer) ExpectBox("ZRBUpdateCmd.AskAboutWrongUuid", c.answer);
    const std::string warnings = Run(new ZRBUpdateCmd());
    EXPECT_EQ(ShellLines().empty(), *c.warning != 0);
    EXPECT_NE(warnings.find(c.warning), std::string::npos) << warnings;
    EXPECT_NE(Plate()->IsDirty(), 0u);  // refused, or sent to a PDM that did not answer: still to be saved
  }
}

TEST_F(IdentityCheckTest, AllPartsLeavesTheReplacedPartOutAndTheSyncRowFails) {
  Start(true);
  Doc("Bolt.CADPart")->SetDirty(1);
  EXPECT_EQ(ZRBSyncRules::Check(At("Bracket.1/Plate.1"), At("Bracket.1"), 0, false, nullptr), "WrongUuid");
  EXPECT_NE(Run(new ZRBUpdateAllPartsCmd()).find("\"Plate\""), std::string::npos);
  EXPECT_EQ(ShellLines().size(), 1u);
  EXPECT_NE(Plate()->IsDirty(), 0u);
}

}  // namespace
