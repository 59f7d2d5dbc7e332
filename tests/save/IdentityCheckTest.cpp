// The identity check before a save: a node whose file another document replaced since the read is not sent as
// that node. Every case starts from a read's state with the identifiers recorded.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CommandFixture.h"
#include "LoadedFromPdm.h"
#include "ZRBIdentityCheck.h"
#include "ZRBSyncRules.h"
#include "ZRBUpdateAllPartsCmd.h"

namespace {

constexpr const char* kOther =
    "CADHOST-DOCUMENT 1 CADPart\nidentifier 0123abcd-0000-4000-8000-00000000beef\npartnumber \"Plate\"\nend\n";

class IdentityCheckTest : public CommandFixture {
 public:
  // The read's state; Plate modified and, with `replaced`, another document's file over it.
  void Start(bool replaced) {
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    SetVariable("ZRB_READ_UUID", "ON");
    root_ = save_test::OpenLoadedAssembly(*session_);
    for (const char* path : {"", "Bracket.1", "Bracket.1/Plate.1", "Bracket.1/Bolt.1"})
      ZRBIdentityCheck::Remember(SampleSession::Node(root_, path));
    Plate()->SetDirty(1);
    if (replaced) session_->WriteFile("Plate.CADPart", kOther);
  }
  void TearDown() override {
    root_ = nullptr;
    CADDocumentServices::ResetSession();
    session_.reset();
    for (const char* name : {"ZRB_READ_UUID", "ZRB_ENABLE_INTERACTIVEUUIDCHECK"}) SetVariable(name, nullptr);
    CommandFixture::TearDown();
  }
  CADDocument* Plate() { return CADDocumentServices::GetDocumentInSession(session_->Path("Plate.CADPart")); }
  std::string Run(ZRBUpdateCmd* command) {
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings += text.str() + "\n";
    Loop().RunPending();
    return warnings;
  }
  std::unique_ptr<SampleSession> session_;
  CADIProduct_var root_;
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
    TearDown();
    CommandFixture::SetUp();
  }
}

TEST_F(IdentityCheckTest, AllPartsLeavesTheReplacedPartOutAndTheSyncRowFails) {
  Start(true);
  CADDocumentServices::GetDocumentInSession(session_->Path("Bolt.CADPart"))->SetDirty(1);
  const CADIProduct_var plate = SampleSession::Node(root_, "Bracket.1/Plate.1");
  EXPECT_EQ(ZRBSyncRules::Check(plate, SampleSession::Node(root_, "Bracket.1"), 0, false, nullptr), "WrongUuid");
  EXPECT_NE(Run(new ZRBUpdateAllPartsCmd()).find("\"Plate\""), std::string::npos);
  EXPECT_EQ(ShellLines().size(), 1u);
  EXPECT_NE(Plate()->IsDirty(), 0u);
}

}  // namespace
