// The identity check before a save: a node whose file another document replaced since the read is not sent as
// that node. Every case starts from a read's state with the identifiers recorded.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CommandFixture.h"
#include "LoadedFromPdm.h"
#include "SampleSession.h"
#include "ZRBCommandStates.h"
#include "ZRBIdentityCheck.h"
#include "ZRBPropertyManager.h"
#include "ZRBSyncRules.h"
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

using Node = CADIProduct_var;

// What another document's file looks like on disk.
constexpr const char* kOtherDocument =
    "CADHOST-DOCUMENT 1 CADPart\nidentifier 0123abcd-0000-4000-8000-00000000beef\npartnumber \"Plate\"\nend\n";

class IdentityCheckTest : public CommandFixture {
 public:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    SetVariable("ZRB_READ_UUID", "ON");
    root_ = save_test::OpenLoadedAssembly(*session_);
    ASSERT_TRUE(root_);
    Remember(root_);
  }
  void TearDown() override {
    root_ = nullptr;
    CADDocumentServices::ResetSession();
    session_.reset();
    for (const char* name : {"ZRB_READ_UUID", "ZRB_ENABLE_INTERACTIVEUUIDCHECK"}) SetVariable(name, nullptr);
    CommandFixture::TearDown();
  }
  static void Remember(const Node& node) {
    ZRBIdentityCheck::Remember(node);
    for (const CADBaseUnknown_var& item : node->GetChildren()) Remember(Node(item));
  }
  CADDocument* Doc(const std::string& name) { return CADDocumentServices::GetDocumentInSession(session_->Path(name)); }
  Node At(std::string_view path) { return SampleSession::Node(root_, path); }
  std::string Run(ZRBUpdateCmd* command) {
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings += text.str() + "\n";
    Loop().RunPending();
    return warnings;
  }

  std::unique_ptr<SampleSession> session_;
  Node root_;
};

TEST_F(IdentityCheckTest, AReplacedFileIsNotSentAsItsNode) {
  struct Case {
    const char* name;
    std::function<void(IdentityCheckTest&)> setup;
    int answer;           // to the question, 0 when none is asked
    bool sent;            // the request went to the PDM
    const char* warning;  // part of the warnings, "" for none expected
  };
  const auto replace = [](IdentityCheckTest& t) { t.session_->WriteFile("Plate.CADPart", kOtherDocument); };
  const Case cases[] = {
      {"the same document", nullptr, 0, true, ""},
      {"switched off", [&](IdentityCheckTest& t) { replace(t), SetVariable("ZRB_READ_UUID", nullptr); }, 0, true, ""},
      {"nothing recorded at the read",
       [&](IdentityCheckTest& t) {
         replace(t);
         GlobPropertyManager.DeleteReferenceProperty(t.At("Bracket.1/Plate.1"), "STORED_UUID");
       },
       0, true, ""},
      {"replaced", replace, 0, false, "does not match its file"},
      {"replaced, the designer refuses",
       [&](IdentityCheckTest& t) { replace(t), SetVariable("ZRB_ENABLE_INTERACTIVEUUIDCHECK", "ON"); }, 4, false,
       "was cancelled"},
      {"replaced, the designer goes on",
       [&](IdentityCheckTest& t) { replace(t), SetVariable("ZRB_ENABLE_INTERACTIVEUUIDCHECK", "ON"); }, 3, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Doc("Plate.CADPart")->SetDirty(1);
    if (c.setup) c.setup(*this);
    if (c.answer) ExpectBox("ZRBUpdateCmd.AskAboutWrongUuid", c.answer);
    const std::string warnings = Run(new ZRBUpdateCmd());
    EXPECT_EQ(!ShellLines().empty(), c.sent);
    EXPECT_NE(warnings.find(c.warning), std::string::npos) << warnings;
    if (!c.sent) {
      EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
      EXPECT_EQ(session_->ReadFile("Plate.CADPart"), kOtherDocument);
    }
  }
}

TEST_F(IdentityCheckTest, AllPartsLeavesTheReplacedPartOutAndTheSyncRowFails) {
  Doc("Plate.CADPart")->SetDirty(1);
  Doc("Bolt.CADPart")->SetDirty(1);
  const Node plate = At("Bracket.1/Plate.1");
  EXPECT_EQ(ZRBSyncRules::Check(plate, At("Bracket.1"), PS_ZRB | PS_DIRTY, false, nullptr), "");
  session_->WriteFile("Plate.CADPart", kOtherDocument);
  EXPECT_EQ(ZRBSyncRules::Check(plate, At("Bracket.1"), PS_ZRB | PS_DIRTY, false, nullptr), "WrongUuid");

  const std::string warnings = Run(new ZRBUpdateAllPartsCmd());
  EXPECT_NE(warnings.find("\"Plate\""), std::string::npos) << warnings;
  ASSERT_EQ(ShellLines().size(), 1u);
  EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(session_->ReadFile("Plate.CADPart"), kOtherDocument);
}

}  // namespace
