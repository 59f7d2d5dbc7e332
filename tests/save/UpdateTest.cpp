// What the save decides before the PDM is called: the stops that send nothing and leave the marks, and the
// validation round trip's verdict. The saves themselves run against the reference PDM in the end-to-end tests.
// The designer's position and model selection between writing an update and sending it, against a fake PDM.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "LoadedFromPdm.h"
#include "ZRBConfigData.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

class UpdateTest : public save_test::LoadedAssemblyTest {
 public:
  using CommandFixture::ExpectBox;
  // Runs one update; the warnings it gathered.
  std::vector<std::string> Save(int mode = 1) {
    auto* command = new ZRBUpdateCmd(mode);
    command->Activate(nullptr, nullptr);
    std::vector<std::string> warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings.push_back(text.str());
    Loop().RunPending();
    return warnings;
  }
  // The PDM: `answer` edits the request file in place (null: the file is left as the module wrote it).
  void AnswerWith(std::function<void(ZRBObjectManager&)> answer) {
    SetShellAnswer([answer](const std::string& line) {
      ZRBObjectManager file;
      if (answer && file.Read(RequestOf(line))) {
        answer(file);
        file.Write(RequestOf(line));
      }
      return 0;
    });
  }
  // Whether any node object of the request asks for a removal.
  static bool Removes(ZRBObjectManager& exchange) {
    for (ZRBObject* o = exchange.GetFirstObject(); o; o = exchange.GetNextObject(o))
      if (!o->GetSlotValue("REMOVED_SUBASS").IsEmpty()) return true;
    return false;
  }
  // Bracket.2 renamed, its instance record taken along (the host drops it with the old name).
  std::string Rename() {
    At("Bracket.2")->SetPrdInstanceName("Bracket.9");
    for (auto [name, value] : {std::pair{"ZRB_RELATION", "RL-Bracket.2"}, {"ZRB_INSTANCE_IN_ZRB", "1"}})
      GlobPropertyManager.SetInstanceProperty(root_, At("Bracket.9"), name, value);
    return "Bracket.9";
  }
};

TEST_F(UpdateTest, StopsBeforeSendingLeaveTheMarks) {
  const std::pair<std::function<void(UpdateTest&)>, const char*> cases[] = {
      {[](UpdateTest& t) { GlobPropertyManager.SetReferenceProperty(t.root_, "sZRB_XMAP", "relative/dir"); },
       "was stopped"},
      {[](UpdateTest& t) { std::filesystem::create_directories(t.session_->Directory() + "/ifile.zrb/blocker"); },
       "cannot be removed or written"},
  };
  for (const auto& [setup, warning] : cases) {
    SCOPED_TRACE(warning);
    Restart();
    Doc("Plate.CADPart")->SetDirty(1);
    setup(*this);
    EXPECT_TRUE(Has(Save(), warning));
    EXPECT_TRUE(ShellLines().empty());
    EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
    EXPECT_EQ(PrivateLeft(root_), 0);
  }
}

// A process or an analysis document saved alone: what the request names, and the mark its answer leaves.
TEST_F(UpdateTest, ProcessAndAnalysisDocumentsSaveByTheirFileIdentity) {
  struct Case {
    const char* name;
    const char* type;
    const char* changeable;     // the permission the document's file carries
    const char* actionSuccess;  // the PDM's verdict; null: the PDM is never called
    const char* modelSuccess;   // the document's own confirmation
    const char* requestSlot;    // a slot the request's document object must carry ("" none)
    const char* warning;        // part of a message the warnings must hold ("" none)
    bool dirtyAfter;
  };
  const Case cases[] = {
      {"process saved", "CADProcess", "1", "1", "1", "ZRB_PROCESS_OBID", "", false},
      {"process refused by the PDM", "CADProcess", "1", "0", "0", "CADPROCESS", "", true},
      {"process saved as a whole but not its document", "CADProcess", "1", "1", "0", "", "", true},
      {"process read-only", "CADProcess", "0", nullptr, nullptr, "", "may not be changed", true},
      {"analysis saved as an archive", "CADAnalysis", "1", "1", "1", "ZRB_ARCHIVE_FILE", "", false},
      {"analysis read-only", "CADAnalysis", "0", nullptr, nullptr, "", "analysis", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    CADDocument* document = nullptr;
    ASSERT_EQ(CADDocumentServices::New(c.type, document), S_OK);
    const CADUnicodeString file(session_->Directory() + "/Weld." + c.type);
    ASSERT_EQ(CADDocumentServices::SaveAs(document, file), S_OK);
    for (auto [name, value] : {std::pair{"ZRB_OBID", "E-1"},
                               {"ZRB_PROCESS_OBID", "PR-9"},
                               {"ZRB_ARCHIVE_FILE", "Weld.zip"},
                               {"ZRB_CHANGEABLE", "1"},
                               {"ZRB_PROCESS_CHANGEABLE", c.changeable},
                               {"ZRB_ARCHIVE_CHANGEABLE", c.changeable}})
      GlobPropertyManager.SetFileProperty(file, name, value);
    document->SetDirty(1);
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    bool slotSeen = !*c.requestSlot;
    AnswerWith([&](ZRBObjectManager& exchange) {
      exchange.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", c.actionSuccess);
      for (ZRBObject* o = exchange.GetFirstObject(); o; o = exchange.GetNextObject(o)) {
        if (o->GetKey() == "ROOT") continue;
        slotSeen = slotSeen || !o->GetSlotValue(c.requestSlot).IsEmpty();
        o->SetSlotValue("MODEL_UPD_SUCCESS", c.modelSuccess);
      }
    });
    const std::vector<std::string> warnings = Save();
    EXPECT_EQ(ShellLines().empty(), c.actionSuccess == nullptr);
    EXPECT_TRUE(slotSeen);
    EXPECT_TRUE(!*c.warning || Has(warnings, c.warning));
    EXPECT_EQ(document->IsDirty() != 0, c.dirtyAfter);
  }
}

// What a node's object says besides its actions: black boxes, renames, links, and creations the save refuses.
TEST_F(UpdateTest, NodeObjectsNameBlackBoxesRenamesLinksAndRefusedCreations) {
  struct Case {
    const char* name;
    int mode;
    std::function<std::string(UpdateTest&)> setup;  // gives the instance name of the node to look at
    const char* slot;
    const char* value;    // "" absent
    const char* warning;  // part of a warning ("" none)
  };
  const auto addNew = [](UpdateTest& t, int times) {
    CADDocument* part = nullptr;
    EXPECT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    Node added;
    for (int i = 0; i < times; ++i) EXPECT_EQ(t.root_->AddExternalComponent(part, added), S_OK);
    return SampleSession::InstanceName(added);
  };
  const auto linking = [&](UpdateTest& t) {
    ZRBConfigData data;
    data.AddFileCategory({"CADPart", "", "Bought", 1});
    g_ZRBConfig.SetConfigData(std::move(data));
    return addNew(t, 1);
  };
  const Case cases[] = {
      {"black-box item", 1,
       [](UpdateTest& t) {
         GlobPropertyManager.AddBlackBoxItem(t.At("Bracket.1"),
                                             GlobPropertyManager.GetProductFullPath(t.At("Bracket.1/Plate.1")));
         return std::string("Plate.1");
       },
       "PART_OF_BLACKBOX", "+", ""},
      {"renamed instance", 1, [](UpdateTest& t) { return t.Rename(); }, "CAD_ORIG_INSTANCENAME", "Bracket.2", ""},
      {"new part of a linking category", 1, linking, "LINK_IN_PDM", "1", ""},
      {"mode 2 never links", 2, linking, "LINK_IN_PDM", "", ""},
      {"a new part placed twice under one father", 1, [&](UpdateTest& t) { return addNew(t, 2); }, "CREATE_PART_IN_PDM",
       "0", "another instance"},
      {"a changed catalog part", 1,
       [](UpdateTest& t) {
         SetVariable("ZRB_ENABLE_CATALOG_SUPPORT", "ON");
         GlobPropertyManager.SetReferenceProperty(t.At("Bracket.1/Plate.1"), "ZRB_Catalog_Document", "Catalog");
         t.Doc("Plate.CADPart")->SetDirty(1);
         return std::string("Plate.1");
       },
       "UPD_GEOMETRY", "", "belongs to a catalog"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    const std::string instance = c.setup(*this);
    std::string value = "(not sent)";
    bool removes = false;  // a rename is no removal
    AnswerWith([&](ZRBObjectManager& exchange) {
      if (const ZRBObject* node = exchange.GetObjectByAttrValue("INSTANCENAME", instance.c_str()))
        value = node->GetSlotValue(c.slot).str();
      removes = Removes(exchange);
    });
    const std::vector<std::string> warnings = Save(c.mode);
    g_ZRBConfig.SetConfigData(ZRBConfigData());
    EXPECT_EQ(value, c.value);
    EXPECT_FALSE(removes);
    EXPECT_TRUE(!*c.warning || Has(warnings, c.warning));
  }
}

// Under "3" what the PDM refused stays to be sent: two refused creations under one father both stay new, and a
// refused removal is asked for again by the next save.
TEST_F(UpdateTest, WhatThePdmRefusedUnderWarningsStaysToBeSent) {
  Node added[2];
  for (Node& node : added) {
    CADDocument* part = nullptr;
    ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
    ASSERT_EQ(root_->AddExternalComponent(part, node), S_OK);
  }
  ASSERT_EQ(At("Bracket.1")->RemoveProduct(At("Bracket.1/Bolt.2")), S_OK);
  for (int save = 0; save < 2; ++save) {
    bool removes = false;
    AnswerWith([&](ZRBObjectManager& exchange) {
      removes = Removes(exchange);
      exchange.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "3");
      for (ZRBObject* o = exchange.GetFirstObject(); o; o = exchange.GetNextObject(o)) {
        if (!o->GetSlotValue("CREATE_PART_IN_PDM").IsEmpty()) o->SetSlotValue("CREATE_PART_SUCCESS", "0");
        if (!o->GetSlotValue("REMOVED_SUBASS").IsEmpty()) o->SetSlotValue("REMOVE_SUCCESS", "0");
      }
    });
    ExpectBox("ZRBUpdateCmd.ProductRemoved", 1);
    Save();
    EXPECT_TRUE(removes) << "save " << save;
    for (const char* known : {"Bracket.1/Plate.1", "Bracket.1/Bolt.1"})
      EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(At("Bracket.1").get(), At(known).get()), 1) << known;
    for (const Node& node : added) EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), node.get()), 0);
  }
}

// The workbench root names its session item only when the workbench is to be saved; otherwise the designer hears so.
TEST_F(UpdateTest, TheWorkbenchRootIsSentAsVirtualRootOnlyWhenAskedFor) {
  for (const bool saved : {true, false}) {
    SCOPED_TRACE(saved);
    Restart();
    SetVariable("ZRB_ENABLE_VP_SAVE", saved ? "ON" : "OFF");
    GlobPropertyManager.SetReferenceProperty(root_, "ZRB_WBSESSOBID", "WB-1");
    std::string sent;  // "VIRTUALROOT", "VRSESSOBID" and "CREATE_PART_IN_PDM" of "ROOT"
    AnswerWith([&](ZRBObjectManager& exchange) {
      ZRBObject* root = exchange.GetObject("ROOT");
      for (const char* slot : {"VIRTUALROOT", "VRSESSOBID", "CREATE_PART_IN_PDM"})
        sent += root->GetSlotValue(slot).str() + "/";
      root->SetSlotValue("ACTION_SUCCESS", "1");
    });
    EXPECT_EQ(Has(Save(), "workbench itself is not saved"), !saved);
    EXPECT_EQ(sent, saved ? "1/WB-1//" : "///") << "the workbench is never created as an item";
  }
}

TEST_F(UpdateTest, AValidationSucceedsOnlyWhenThePdmConfirmedEveryNode) {
  const auto confirm = [](const char* root, const char* second) {
    return [=](ZRBObjectManager& file) {
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", root);
      for (ZRBObject* o = file.GetFirstObject(); o; o = file.GetNextObject(o))
        if (!(o->GetKey() == "ROOT")) o->SetSlotValue("VALIDATE_SUCCESS", o->GetKey() == "1" ? second : "1");
    };
  };
  const std::pair<std::function<void(ZRBObjectManager&)>, int> cases[] = {
      {confirm("1", "1"), 1}, {nullptr, 0}, {confirm("0", "1"), 0}, {confirm("1", "0"), 0}};
  for (const auto& [answer, expected] : cases) {
    AnswerWith(answer);
    auto* command = new ZRBUpdateCmd();
    ZRBObjectManager request;
    ZRBUpdateBaseCmd::CreateValidationRootObject(request);
    for (const char* key : {"0", "1"})
      ZRBUpdateBaseCmd::AddNodeValidationDataToZRBObject(request.CreateObject(key), At("Bracket.1"));
    int result = -1;
    EXPECT_EQ(command->ExecuteValidation(request, nullptr, &result), 0);
    EXPECT_EQ(result, expected);
    command->Release();
  }
}

constexpr const char* kDialog = "ZRBUpdatePosSelect";

class PosSelectTest : public UpdateTest {
 public:
  CADDialogDriver& Driver() { return Dialogs().Driver(); }
  void SetUp() override {
    UpdateTest::SetUp();
    SetVariable("ZRB_ENABLE_UPDATEPOSITIONDIALOG", "ON");
    SetVariable("ZRB_ENABLE_UPD_MODELSELECT_DIALOG", "ON");
    requests_.clear();
    // The PDM: keeps the request and confirms every update it asks for.
    AnswerWith([this](ZRBObjectManager& file) {
      requests_.push_back(file);
      for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object))
        for (const char* slot : {"UPD_GEOMETRY", "UPD_MATRIX", "UPD_PRODUCT"})
          if (object->GetSlotValue(slot) == "1") object->SetSlotValue((std::string(slot) + "_SUCCESS").c_str(), "1");
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
    });
  }
  std::string Inst(const char* path, const char* name) {
    return GlobPropertyManager.GetInstanceProperty(root_, At(path), name).str();
  }
  // The designer's work: both brackets moved, the plate and the bolt modified.
  void Change() {
    auto* probe = new ZRBUpdateCmd();
    const double moved[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
    for (const char* bracket : {"Bracket.1", "Bracket.2"}) EXPECT_EQ(probe->MoveProduct(At(bracket), root_, moved), 1);
    probe->Release();
    Doc("Plate.CADPart")->SetDirty(1);
    Doc("Bolt.CADPart")->SetDirty(1);
  }
  // The row of `list` whose column `column` reads `text`.
  int Row(const char* list, int column, const char* text) {
    for (int row = 0; row < Driver().GetRowCount(kDialog, list); ++row)
      if (Driver().GetCell(kDialog, list, row, column) == text) return row;
    ADD_FAILURE() << "no row " << text << " in " << list;
    return 0;
  }
  // Values of `slot` over the objects of the last request that carry `key` = `value`.
  std::vector<std::string> Slots(const char* key, const char* value, const char* slot) {
    std::vector<std::string> found;
    ZRBObjectManager& request = requests_.back();
    for (ZRBObject* o = request.GetFirstObject(); o; o = request.GetNextObject(o))
      if (o->GetSlotValue(key) == value) found.push_back(o->GetSlotValue(slot).str());
    return found;
  }
  static bool Has(const ZRBUpdateCmd& command, const char* text) {
    for (const CADUnicodeString& line : command.GetWarnings())
      if (line.str().find(text) != std::string::npos) return true;
    return false;
  }
  std::vector<ZRBObjectManager> requests_;
};

TEST_F(PosSelectTest, RowsSetToNoStayInTheSessionForTheNextSave) {
  Change();
  const std::string stored = Inst("Bracket.2", "ZRB_ORIG_MATRIX");
  const std::string storedOther = Inst("Bracket.1", "ZRB_ORIG_MATRIX");
  auto* command = new ZRBUpdateCmd();
  command->Activate(nullptr, nullptr);
  ASSERT_TRUE(Driver().IsOpen(kDialog));
  EXPECT_TRUE(ShellLines().empty());
  EXPECT_EQ(Driver().GetRowCount(kDialog, "MatrixToBeUpdated"), 2);
  Driver().SelectRows(kDialog, "MatrixToBeUpdated", {Row("MatrixToBeUpdated", 2, "Bracket.2")});
  Driver().Push(kDialog, "MatrixToggleButton");
  Driver().SelectTab(kDialog, "ModelTabPage");
  Driver().ActivateRow(kDialog, "ModelToBeUpdated", Row("ModelToBeUpdated", 0, "Plate"));
  Driver().PressWindowButton(kDialog, CADDlgEvent::OK);

  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_EQ(Slots("INSTANCENAME", "Bracket.2", "UPD_MATRIX"), std::vector<std::string>{"0"});
  EXPECT_EQ(Slots("INSTANCENAME", "Bracket.1", "UPD_MATRIX"), std::vector<std::string>{"1"});
  EXPECT_EQ(Slots("PARTNUMBER", "Plate", "UPD_GEOMETRY"), (std::vector<std::string>{"0", "0"}));
  const std::vector<std::string> bolts = Slots("PARTNUMBER", "Bolt", "UPD_GEOMETRY");
  EXPECT_EQ(bolts, std::vector<std::string>(std::max<std::size_t>(bolts.size(), 1), "1"));
  EXPECT_TRUE(Has(*command, "Bracket.2"));
  EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(Doc("Bolt.CADPart")->IsDirty(), 0u);
  EXPECT_EQ(Inst("Bracket.2", "ZRB_ORIG_MATRIX"), stored);
  EXPECT_EQ(Inst("Bracket.2", "S_ZRB_CHANGED_POS"), "1");
  EXPECT_NE(Inst("Bracket.1", "ZRB_ORIG_MATRIX"), storedOther);
  EXPECT_EQ(PrivateLeft(root_), 0);
  Loop().RunPending();

  // What was held back is offered again and, confirmed, sent.
  (new ZRBUpdateCmd())->Activate(nullptr, nullptr);
  EXPECT_EQ(Driver().GetRowCount(kDialog, "MatrixToBeUpdated"), 1);
  Driver().PressWindowButton(kDialog, CADDlgEvent::OK);
  Loop().RunPending();
  ASSERT_EQ(requests_.size(), 2u);
  EXPECT_EQ(Slots("INSTANCENAME", "Bracket.2", "UPD_MATRIX"), std::vector<std::string>{"1"});
  EXPECT_EQ(Slots("PARTNUMBER", "Plate", "UPD_GEOMETRY"), (std::vector<std::string>{"1", "1"}));
  EXPECT_EQ(Doc("Plate.CADPart")->IsDirty(), 0u);
}

TEST_F(PosSelectTest, NothingModifiedSendsAtOnceWithoutTheDialog) {
  auto* command = new ZRBUpdateCmd();
  command->Activate(nullptr, nullptr);
  EXPECT_FALSE(Driver().IsOpen(kDialog));
  EXPECT_EQ(requests_.size(), 1u);
  Loop().RunPending();
}

TEST_F(PosSelectTest, CancelSendsNothingAndRestoresTheMarks) {
  const std::function<void(PosSelectTest&)> closers[] = {
      [](PosSelectTest& t) { t.Driver().PressWindowButton(kDialog, CADDlgEvent::Cancel); },
      [](PosSelectTest& t) { t.Driver().CloseWindow(kDialog); },
  };
  for (const auto& close : closers) {
    Restart();
    Change();
    auto* command = new ZRBUpdateCmd();
    command->Activate(nullptr, nullptr);
    ASSERT_TRUE(Driver().IsOpen(kDialog));
    EXPECT_EQ(Doc("Plate.CADPart")->IsDirty(), 0u) << "saved into the exchange map for the request";
    close(*this);
    EXPECT_TRUE(ShellLines().empty());
    EXPECT_TRUE(Has(*command, "was stopped"));
    EXPECT_NE(Doc("Plate.CADPart")->IsDirty(), 0u);
    EXPECT_NE(Doc("Bolt.CADPart")->IsDirty(), 0u);
    EXPECT_EQ(Inst("Bracket.2", "S_ZRB_CHANGED_POS"), "1");
    EXPECT_EQ(PrivateLeft(root_), 0);
    Loop().RunPending();
  }
}

TEST_F(PosSelectTest, AllPartsOffersTheModelsAndKeepsAPartHeldBack) {
  Change();
  auto* command = new ZRBUpdateAllPartsCmd();
  command->Activate(nullptr, nullptr);
  constexpr const char* kAllParts = "ZRBUpdateAllPartsPosSelect";
  ASSERT_TRUE(Driver().IsOpen(kAllParts));
  EXPECT_EQ(Driver().GetRowCount(kAllParts, "ModelToBeUpdated"), 2);
  Driver().ActivateRow(kAllParts, "ModelToBeUpdated", 1);
  const std::string heldBack = Driver().GetCell(kAllParts, "ModelToBeUpdated", 1, 0).str();
  Driver().PressWindowButton(kAllParts, CADDlgEvent::OK);
  Loop().RunPending();
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_EQ(Slots("PARTNUMBER", heldBack.c_str(), "UPD_GEOMETRY"), std::vector<std::string>{"0"});
  EXPECT_NE(Doc(heldBack + ".CADPart")->IsDirty(), 0u);
}

}  // namespace
