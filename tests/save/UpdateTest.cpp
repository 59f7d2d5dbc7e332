// What the save decides before and around the PDM call, against a fake PDM: the shell hook reads the request the
// command wrote and rewrites it with the answer slots a PDM gives, by a small table of actions. The whole round
// trip against the reference PDM is in the end-to-end tests.
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
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

using Node = CADIProduct_var;

// What the fake PDM does to an object that asks for an action: the answer slot it sets to "1" and, for creations,
// the identity it hands out.
struct Action {
  const char* request;  // slot that asks for the action ("1"; "1" or "2" for creations)
  const char* success;  // answer slot set to "1"
  bool creates;         // hands out "OBID" and "DOCREL_ID"
};
const Action kActions[] = {
    {"CREATE_PART_IN_PDM", "CREATE_PART_SUCCESS", true},
    {"CREATE_MODEL_RELATION_ONLY", "INSTANTIATE_SUCCESS", true},
    {"CREATE_PART_RELATION_ONLY", "INSTANTIATE_SUCCESS", true},
    {"UPD_GEOMETRY", "MODEL_UPD_SUCCESS", false},
    {"UPD_MATRIX", "UPD_MATRIX_SUCCESS", false},
    {"UPD_PRODUCT", "PRODUCT_SUCCESS", false},
    {"REMOVE_IN_PDM", "REMOVE_SUCCESS", false},
};

class FakePdm {
 public:
  std::string result = "1";                // "ACTION_SUCCESS" of "ROOT"
  bool rewrite = true;                     // false: the PDM leaves the request as it is
  std::vector<ZRBObjectManager> requests;  // each request as the command wrote it

  int Answer(const std::string& line) {
    const std::size_t open = line.find('\''), close = line.rfind('\'');
    if (open == std::string::npos || close <= open) return 0;
    const CADUnicodeString path(line.substr(open + 1, close - open - 1));
    ZRBObjectManager file;
    if (!file.Read(path)) return 0;
    requests.push_back(file);
    if (!rewrite) return 0;
    for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object)) {
      if (object->GetKey() == "ROOT") continue;
      for (const Action& action : kActions) {
        const CADString asked = object->GetSlotValue(action.request);
        if (!(asked == "1") && !(action.creates && asked == "2")) continue;
        const std::string partNumber = object->GetSlotValue("PARTNUMBER").str();
        object->SetSlotValue(action.success, "1");
        if (action.creates) {
          if (object->GetSlotValue("OBID").IsEmpty()) object->SetSlotValue("OBID", CADString("NEW-" + partNumber));
          object->SetSlotValue("DOCREL_ID", CADString("REL-" + object->GetSlotValue("INSTANCENAME").str()));
        }
        if (action.success == std::string("MODEL_UPD_SUCCESS"))
          object->SetSlotValue("MODIFICATION_DATE_GMT", "2026/12/06 12:00:00");
      }
    }
    ZRBObject* root = file.GetObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", CADString(result));
    file.Write(path);
    return 0;
  }
};

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
    root_ = session_->OpenAssembly();
    ASSERT_TRUE(root_);
    MarkLoaded(root_);
    ZRBCommandStates::SetOrigChilds(root_.get(), "", 0);
    for (const char* name : {"Assembly.CADProduct", "Bracket.CADProduct", "Plate.CADPart", "Bolt.CADPart"})
      Doc(name)->SetDirty(0);
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(Doc("Assembly.CADProduct"), window), S_OK);
    SetShellAnswer([this](const std::string& line) { return pdm_.Answer(line); });
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

  // Objects of the last request that carry slot = value.
  int CountInLastRequest(const char* slot, const char* value) {
    int count = 0;
    ZRBObjectManager& request = pdm_.requests.back();
    for (ZRBObject* object = request.GetFirstObject(); object; object = request.GetNextObject(object))
      if (object->GetSlotValue(slot) == value) ++count;
    return count;
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
  FakePdm pdm_;
};

TEST_F(UpdateTest, StopsBeforeSendingLeaveTheMarks) {
  struct Case {
    const char* name;
    std::function<void(UpdateTest&)> setup;
    const char* warning;  // part of a message key the warnings hold
  };
  const Case cases[] = {
      {"removed product: stop",
       [](UpdateTest& t) {
         t.root_->RemoveProduct(t.At("Fixings.1"));
         t.ExpectBox("ZRBUpdateCmd.ProductRemoved", 4);
       },
       "was stopped"},
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
    pdm_ = FakePdm();
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

TEST_F(UpdateTest, RemovedProductAnsweredGoOnIsSentAndANonChangeablePartIsNeitherSavedNorFlagged) {
  root_->RemoveProduct(At("Fixings.1"));
  ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
  GlobPropertyManager.SetReferenceProperty(At("Bracket.1/Plate.1"), "ZRB_CHANGEABLE", "0");
  Doc("Plate.CADPart")->SetDirty(1);
  const std::vector<std::string> warnings = Save();
  ASSERT_EQ(pdm_.requests.size(), 1u);
  EXPECT_EQ(CountInLastRequest("UPD_GEOMETRY", "1"), 0);
  EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
  bool found = false;
  for (const std::string& w : warnings) found = found || w.find("may not be changed") != std::string::npos;
  EXPECT_TRUE(found);
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

namespace {

TEST_F(UpdateTest, APartOrADrawingAloneKeepsItsMarkWhenTheSaveFails) {
  struct Case {
    const char* file;
    const char* result;
    bool dirtyAfter;
  };
  const Case cases[] = {
      {"Plate.CADPart", "0", true},
      {"Plate.CADDrawing", "2", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + " answered " + c.result);
    TearDown();
    SetUp();
    pdm_ = FakePdm();
    pdm_.result = c.result;
    CADDocument* document = nullptr;
    ASSERT_EQ(CADDocumentServices::OpenDocument(session_->Path(c.file), document), S_OK);
    for (const char* name : {"ZRB_OBID", "ZRB_CHANGEABLE"})
      GlobPropertyManager.SetFileProperty(document->StorageName(), name, name == std::string("ZRB_OBID") ? "D-1" : "1");
    document->SetDirty(1);
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    Save();
    ASSERT_EQ(pdm_.requests.size(), 1u);
    ZRBObjectManager& request = pdm_.requests[0];
    EXPECT_EQ(request.GetObject("ROOT")->GetSlotValue("CREATING_SYSTEM"), "CADHOST");
    ASSERT_EQ(request.GetObject("ROOT")->GetSlotValueList("SUBASSEMBLIES").Size(), 1);
    const ZRBObject* object = request.GetObject(request.GetObject("ROOT")->GetSlotValueList("SUBASSEMBLIES")[1]);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->GetSlotValue("UPD_GEOMETRY"), "1");
    EXPECT_EQ(object->GetSlotValue("PATH"), document->StorageName().ConvertToString());
    EXPECT_EQ(object->GetSlotValue("OBID"), std::string(c.file).ends_with("Part") ? "ID-Plate" : "D-1");
    EXPECT_EQ(document->IsDirty() != 0, c.dirtyAfter);
  }
}

}  // namespace

namespace {

TEST_F(UpdateTest, AllPartsSendsEveryChangeablePartOnceAndRestoresTheMarksOnFailure) {
  for (const char* result : {"1", "0"}) {
    SCOPED_TRACE(result);
    TearDown();
    SetUp();
    pdm_ = FakePdm();
    pdm_.result = result;
    Doc("Plate.CADPart")->SetDirty(1);
    Doc("Bolt.CADPart")->SetDirty(1);
    GlobPropertyManager.SetReferenceProperty(At("Bracket.1/Bolt.1"), "ZRB_CHANGEABLE", "0");
    auto* command = new ZRBUpdateAllPartsCmd();
    command->Activate(nullptr, nullptr);
    Loop().RunPending();
    ASSERT_EQ(pdm_.requests.size(), 1u);
    EXPECT_EQ(CountInLastRequest("UPD_GEOMETRY", "1"), 1);
    EXPECT_EQ(CountInLastRequest("PARTNUMBER", "Plate"), 1);
    EXPECT_EQ(Doc("Plate.CADPart")->IsDirty() != 0, result == std::string("0"));
    EXPECT_NE(Doc("Bolt.CADPart")->IsDirty(), 0u);
  }
}

}  // namespace

namespace {

TEST_F(UpdateTest, InStructureFileModeTheStructureFileFollowsTheSave) {
  std::string text;
  for (const char* item : {"Assembly", "Bracket", "Plate", "Bolt", "Fixings"})
    text += std::string("@") + item + "\n{ID} ID-" + item + "\n\n";
  session_->WriteFile("sZRBstructure", text);
  Doc("Plate.CADPart")->SetDirty(1);
  auto* command = new ZRBUpdateCmd(3);
  command->Activate(nullptr, nullptr);
  Loop().RunPending();
  ASSERT_EQ(pdm_.requests.size(), 1u);
  ZRBObjectManager file;
  ASSERT_TRUE(file.Read(session_->Path("sZRBstructure")));
  EXPECT_EQ(file.GetObject("Plate")->GetSlotValue("S_ZRB_CHANGED_GEO"), "1");
  EXPECT_TRUE(file.GetObject("Bolt")->GetSlotValue("S_ZRB_CHANGED_GEO").IsEmpty());
}

}  // namespace
