// The product save against a fake PDM: the shell hook reads the request the command wrote and rewrites it with the
// answer slots a PDM gives, by a small table of actions. The assertions are on the request, the session's
// properties and the modified marks.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
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
  bool creates;         // hands out "OBID" and "DOCREL_ID" and may be refused per part number
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
  bool garble = false;                     // the answer file is unreadable
  std::set<std::string> failFor;           // part numbers whose creation fails
  std::vector<ZRBObjectManager> requests;  // each request as the command wrote it

  int Answer(const std::string& line) {
    const std::size_t open = line.find('\''), close = line.rfind('\'');
    if (open == std::string::npos || close <= open) return 0;
    const CADUnicodeString path(line.substr(open + 1, close - open - 1));
    ZRBObjectManager file;
    if (!file.Read(path)) return 0;
    requests.push_back(file);
    if (garble) {
      std::FILE* out = std::fopen(path.c_str(), "w");
      std::fputs("\x01\x02 not an exchange file {{{", out);
      std::fclose(out);
      return 0;
    }
    if (!rewrite) return 0;
    for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object)) {
      if (object->GetKey() == "ROOT") continue;
      for (const Action& action : kActions) {
        const CADString asked = object->GetSlotValue(action.request);
        if (!(asked == "1") && !(action.creates && asked == "2")) continue;
        const std::string partNumber = object->GetSlotValue("PARTNUMBER").str();
        if (action.creates && failFor.count(partNumber)) {
          object->SetSlotValue(action.success, "0");
          continue;
        }
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
    if (result == "3") root->SlotAppend("STATS", "one item kept its old revision");
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
  static std::string Inst(const Node& parent, const Node& child, const char* name) {
    return GlobPropertyManager.GetInstanceProperty(parent, child, name).str();
  }

  // The designer's work: a new part under the root, the plate modified, Bracket.2 moved, Fixings.1 removed.
  Node ChangeStructure() {
    CADDocument* part = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    newPartDoc_ = part;
    Node added;
    EXPECT_EQ(root_->AddExternalComponent(part, added), S_OK);
    Doc("Plate.CADPart")->SetDirty(1);
    const double moved[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
    auto* probe = new ZRBUpdateCmd();
    EXPECT_EQ(probe->MoveProduct(At("Bracket.2"), root_, moved), 1);
    probe->Release();
    EXPECT_EQ(root_->RemoveProduct(At("Fixings.1")), S_OK);
    ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);  // go on
    return added;
  }

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
  int ActionsInLastRequest() {
    int count = 0;
    for (const char* slot : {"CREATE_PART_IN_PDM", "CREATE_MODEL_RELATION_ONLY", "CREATE_PART_RELATION_ONLY",
                             "LINK_IN_PDM", "UPD_GEOMETRY", "UPD_MATRIX", "UPD_PRODUCT"})
      count += CountInLastRequest(slot, "1") + CountInLastRequest(slot, "2");
    ZRBObjectManager& request = pdm_.requests.back();
    for (ZRBObject* object = request.GetFirstObject(); object; object = request.GetNextObject(object))
      if (!object->GetSlotValue("REMOVED_SUBASS").IsEmpty()) ++count;
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
  CADDocument* newPartDoc_ = nullptr;
};

TEST_F(UpdateTest, ARoundTripAppliesTheAnswerAndASecondSaveSendsOnlyTheNewPartsGeometry) {
  const Node added = ChangeStructure();
  Save();
  ASSERT_EQ(pdm_.requests.size(), 1u);
  EXPECT_EQ(ShellLines()[0].find("PdmSessn x3UpdateFromFile '"), ShellLines()[0].find("PdmSessn"));
  ZRBObjectManager& request = pdm_.requests[0];
  const ZRBObject* rootObject = request.GetObject("ROOT");
  ASSERT_NE(rootObject, nullptr);
  EXPECT_EQ(rootObject->GetSlotValue("ACTION_SUCCESS"), "0");
  EXPECT_EQ(rootObject->GetSlotValueList("SUBASSEMBLIES").Size(), 3);  // Bracket.1, Bracket.2 and the new part
  const ZRBObject* created = request.GetObjectByAttrValue("CREATE_PART_IN_PDM", "2");
  ASSERT_NE(created, nullptr);
  EXPECT_FALSE(created->GetSlotValue("PATH").IsEmpty());
  EXPECT_EQ(created->GetSlotValue("UPD_GEOMETRY"), "1");
  EXPECT_EQ(CountInLastRequest("UPD_GEOMETRY", "1"), 3);  // the plate in both brackets, the new part
  EXPECT_EQ(CountInLastRequest("UPD_MATRIX", "1"), 1);
  const ZRBObject* removed = nullptr;
  for (ZRBObject* o = request.GetFirstObject(); o && !removed; o = request.GetNextObject(o))
    if (!o->GetSlotValue("REMOVED_SUBASS").IsEmpty()) removed = o;
  ASSERT_NE(removed, nullptr);
  EXPECT_EQ(removed->GetSlotValueList("REMOVED_SUBASS"), CADListValCADString({"Fixings.1"}));
  EXPECT_EQ(removed->GetSlotValue("PARENT_OBID"), "ID-Assembly");

  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").str(), "NEW-" + added->GetPartNumber().str());
  EXPECT_EQ(Inst(root_, added, "ZRB_INSTANCE_IN_ZRB"), "1");
  EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), Position(root_, At("Bracket.2")));
  EXPECT_EQ(Doc("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(Doc("Assembly.CADProduct")->IsDirty(), 0u);
  EXPECT_NE(newPartDoc_->IsDirty(), 0u) << "the created part saves its new properties next time";
  EXPECT_EQ(PrivateLeft(root_), 0);
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), added.get()), 1);

  Save();
  EXPECT_EQ(ActionsInLastRequest(), 1);
  EXPECT_EQ(CountInLastRequest("PARTNUMBER", added->GetPartNumber().c_str()), 1);
  EXPECT_EQ(pdm_.requests.back()
                .GetObjectByAttrValue("PARTNUMBER", added->GetPartNumber().c_str())
                ->GetSlotValue("UPD_GEOMETRY"),
            "1");
  Save();
  EXPECT_EQ(ActionsInLastRequest(), 0);
}

TEST_F(UpdateTest, AFailedOrCancelledSaveLeavesEverythingAsBefore) {
  struct Case {
    const char* name;
    std::function<void(FakePdm&)> setup;
  };
  const Case cases[] = {
      {"cancelled in the PDM", [](FakePdm& pdm) { pdm.result = "2"; }},
      {"failed", [](FakePdm& pdm) { pdm.result = "0"; }},
      {"not rewritten", [](FakePdm& pdm) { pdm.rewrite = false; }},
      {"unreadable", [](FakePdm& pdm) { pdm.garble = true; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    pdm_ = FakePdm();
    const Node added = ChangeStructure();
    const std::string stored = Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX");
    c.setup(pdm_);
    Save();
    ASSERT_EQ(pdm_.requests.size(), 1u);
    EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
    EXPECT_NE(newPartDoc_->IsDirty(), 0u);
    EXPECT_NE(Doc("Assembly.CADProduct")->IsDirty(), 0u);
    EXPECT_TRUE(GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").IsEmpty());
    EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), stored);
    EXPECT_EQ(Inst(root_, At("Bracket.2"), "S_ZRB_CHANGED_POS"), "1");
    EXPECT_EQ(PrivateLeft(root_), 0);
  }
}

TEST_F(UpdateTest, WarningsApplyTheAnswerAndOneRefusedCreationStaysNew) {
  const Node added = ChangeStructure();
  pdm_.result = "3";
  pdm_.failFor = {added->GetPartNumber().str()};
  const std::vector<std::string> warnings = Save();
  EXPECT_NE(std::find(warnings.begin(), warnings.end(), "one item kept its old revision"), warnings.end());
  EXPECT_EQ(Doc("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(Inst(root_, At("Bracket.2"), "ZRB_ORIG_MATRIX"), Position(root_, At("Bracket.2")));
  EXPECT_TRUE(GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").IsEmpty());
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), added.get()), 0);

  pdm_.result = "1";
  pdm_.failFor.clear();
  Save();
  EXPECT_EQ(CountInLastRequest("CREATE_PART_IN_PDM", "2"), 1);
  EXPECT_FALSE(GlobPropertyManager.GetReferenceProperty(added, "ZRB_OBID").IsEmpty());
}

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

TEST_F(UpdateTest, APartOrADrawingAloneIsSentWithItsIdentityAndKeepsItsMarkWhenTheSaveFails) {
  struct Case {
    const char* file;
    const char* result;
    bool dirtyAfter;
  };
  const Case cases[] = {
      {"Plate.CADPart", "1", false},
      {"Plate.CADPart", "0", true},
      {"Plate.CADDrawing", "1", false},
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
