// The designer's position and model selection between writing an update and sending it, worked through the dialog
// driver against a fake PDM that confirms every action it is asked for. The assertions are on the request the PDM
// got, the modified marks and the positions still to send.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "LoadedFromPdm.h"
#include "ZRBUpdateAllPartsCmd.h"
#include "ZRBUpdateCmd.h"

namespace {

constexpr const char* kDialog = "ZRBUpdatePosSelect";

class PosSelectTest : public save_test::LoadedAssemblyTest {
 public:
  CADDialogDriver& Driver() { return Dialogs().Driver(); }
  void SetUp() override {
    LoadedAssemblyTest::SetUp();
    SetVariable("ZRB_ENABLE_UPDATEPOSITIONDIALOG", "ON");
    SetVariable("ZRB_ENABLE_UPD_MODELSELECT_DIALOG", "ON");
    requests_.clear();
    // The PDM: keeps the request and confirms every update it asks for.
    SetShellAnswer([this](const std::string& line) {
      ZRBObjectManager file;
      if (!file.Read(RequestOf(line))) return 0;
      requests_.push_back(file);
      for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object))
        for (const char* slot : {"UPD_GEOMETRY", "UPD_MATRIX", "UPD_PRODUCT"})
          if (object->GetSlotValue(slot) == "1") object->SetSlotValue((std::string(slot) + "_SUCCESS").c_str(), "1");
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      file.Write(RequestOf(line));
      return 0;
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
