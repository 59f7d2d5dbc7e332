// What the save decides before the PDM is called: the stops that send nothing and leave the marks, and the
// validation round trip's verdict. The saves themselves run against the reference PDM in the end-to-end tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CADIMovable.h"
#include "CADMathTransformation.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPosMatrixUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateCmd.h"

namespace {

using Node = CADIProduct_var;

class UpdateTest : public CommandFixture {
 public:
  using CommandFixture::ExpectBox;
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(session_->Directory()));
    ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
    ZRBInfoUtil::SetUseDesigTables(0);
    root_ = session_->OpenAssembly();
    ASSERT_TRUE(root_);
    MarkLoaded(root_);
    ZRBCommandStates::SetOrigChilds(root_.get(), "", 0);
    for (const char* name : {"Assembly.CADProduct", "Bracket.CADProduct", "Plate.CADPart", "Bolt.CADPart"})
      Doc(name)->SetDirty(0);
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(Doc("Assembly.CADProduct"), window), S_OK);
  }
  void TearDown() override {
    root_ = nullptr;
    CADDocumentServices::ResetSession();
    session_.reset();
    CommandFixture::TearDown();
  }

  static void MarkLoaded(const Node& node) {
    const std::string partNumber = node->GetPartNumber().str();
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_OBID", CADUnicodeString("ID-" + partNumber));
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_CHANGEABLE", "1");
    GlobPropertyManager.SetReferenceProperty(node, "ZRB_PRODUCT_CHANGEABLE", "1");
    for (const CADBaseUnknown_var& item : node->GetChildren()) {
      Node child(item);
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_INSTANCE_IN_ZRB", "1");
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_RELATION",
                                              CADUnicodeString("RL-" + SampleSession::InstanceName(child)));
      GlobPropertyManager.SetInstanceProperty(node, child, "ZRB_ORIG_MATRIX", CADUnicodeString(Position(node, child)));
      MarkLoaded(child);
    }
  }
  static std::string Position(const Node& parent, const Node& child) {
    double position[12];
    CADMathTransformation transformation;
    CADIMovable_var(child)->GetPosition(transformation, parent.get());
    transformation.GetCoef(position);
    CADUnicodeString text;
    ZRBPosMatrixUtil::ConvertToString(position, text);
    return text.str();
  }
  CADDocument* Doc(const std::string& name) { return CADDocumentServices::GetDocumentInSession(session_->Path(name)); }
  Node At(std::string_view path) { return SampleSession::Node(root_, path); }

  // Runs one update; the warnings it gathered.
  std::vector<std::string> Save() {
    auto* command = new ZRBUpdateCmd();
    command->Activate(nullptr, nullptr);
    std::vector<std::string> warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings.push_back(text.str());
    Loop().RunPending();
    return warnings;
  }

  // Private properties of the update left on any node.
  static int PrivateLeft(const Node& node) {
    CADListValCADUnicodeString names, values;
    GlobPropertyManager.GetAllPathToRootProperties(node, names, values);
    int left = 0;
    for (int i = 1; i <= names.Size(); ++i)
      if (!values[i].IsEmpty() &&
          (names[i].StartsWith("ZRB_PRIVATE_") || names[i] == "ZRB_SAVE" || names[i].StartsWith("ZRB_UPDATE_NEW_")))
        ++left;
    for (const CADBaseUnknown_var& item : node->GetChildren()) left += PrivateLeft(Node(item));
    return left;
  }

  std::unique_ptr<SampleSession> session_;
  Node root_;
};

TEST_F(UpdateTest, StopsBeforeSendingLeaveTheMarks) {
  struct Case {
    const char* name;
    std::function<void(UpdateTest&)> setup;
    const char* warning;  // part of a message key the warnings hold
  };
  const Case cases[] = {
      {"exchange map from the PDM is relative",
       [](UpdateTest& t) { GlobPropertyManager.SetReferenceProperty(t.root_, "sZRB_XMAP", "relative/dir"); },
       "was stopped"},
      {"the request cannot be written",
       [](UpdateTest& t) { std::filesystem::create_directories(t.session_->Directory() + "/ifile.zrb/blocker"); },
       "cannot be removed or written"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Doc("Plate.CADPart")->SetDirty(1);
    c.setup(*this);
    const std::vector<std::string> warnings = Save();
    EXPECT_TRUE(ShellLines().empty());
    bool found = false;
    for (const std::string& w : warnings) found = found || w.find(c.warning) != std::string::npos;
    EXPECT_TRUE(found);
    EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
    EXPECT_EQ(PrivateLeft(root_), 0);
  }
}

TEST_F(UpdateTest, AValidationSucceedsOnlyWhenThePdmConfirmedEveryNode) {
  struct Case {
    const char* name;
    std::function<void(ZRBObjectManager&)> answer;  // null: the PDM does not rewrite the file
    int expected;
  };
  const auto confirm = [](const char* root, const char* second) {
    return [=](ZRBObjectManager& file) {
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", root);
      for (ZRBObject* o = file.GetFirstObject(); o; o = file.GetNextObject(o))
        if (!(o->GetKey() == "ROOT")) o->SetSlotValue("VALIDATE_SUCCESS", o->GetKey() == "1" ? second : "1");
    };
  };
  const Case cases[] = {
      {"all confirmed", confirm("1", "1"), 1},
      {"not rewritten", nullptr, 0},
      {"root failed", confirm("0", "1"), 0},
      {"one node refused", confirm("1", "0"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetShellAnswer([&](const std::string& line) {
      const std::size_t open = line.find('\''), close = line.rfind('\'');
      const CADUnicodeString path(line.substr(open + 1, close - open - 1));
      ZRBObjectManager file;
      if (c.answer && file.Read(path)) {
        c.answer(file);
        file.Write(path);
      }
      return 0;
    });
    auto* command = new ZRBUpdateCmd();
    ZRBObjectManager request;
    ZRBUpdateBaseCmd::CreateValidationRootObject(request);
    for (const char* key : {"0", "1"})
      ZRBUpdateBaseCmd::AddNodeValidationDataToZRBObject(request.CreateObject(key), At("Bracket.1"));
    int result = -1;
    EXPECT_EQ(command->ExecuteValidation(request, nullptr, &result), 0);
    EXPECT_EQ(result, c.expected);
    command->Release();
  }
}

}  // namespace
