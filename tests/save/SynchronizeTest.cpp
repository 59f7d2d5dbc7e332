// The step-by-step synchronisation against a fake PDM that answers every one-node request by the actions it
// asks for. The structure edits are the designer's; the assertions are on the rows, the requests and the
// session's properties and modified marks.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "CADDialogDriver.h"
#include "LoadedFromPdm.h"
#include "ZRBListText.h"
#include "ZRBSyncRules.h"
#include "ZRBSynchronizeCmd.h"

namespace {

// Answers each request by the actions it asks for; a request about a part number in `failFor` fails. The
// part-information question is not counted as a request.
struct FakePdm {
  std::set<std::string> failFor;
  std::vector<ZRBObjectManager> requests;

  int Answer(const std::string& line) {
    const CADUnicodeString path = save_test::LoadedAssemblyTest::RequestOf(line);
    ZRBObjectManager file;
    if (!file.Read(path)) return 0;
    if (line.find("x3GetInfoForParts") != std::string::npos) {  // no standard parts
      file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "1");
      return file.Write(path) ? 0 : 1;
    }
    requests.push_back(file);
    bool failed = false;
    static const std::vector<std::pair<const char*, const char*>> kActions = {
        {"CREATE_PART_IN_PDM", "CREATE_PART_SUCCESS"},
        {"INSTANTIATE_IN_PDM", "INSTANTIATE_SUCCESS"},
        {"UPD_GEOMETRY", "MODEL_UPD_SUCCESS"},
        {"UPD_MATRIX", "UPD_MATRIX_SUCCESS"},
        {"UPD_PRODUCT", "PRODUCT_SUCCESS"},
        {"REMOVE_IN_PDM", "REMOVE_SUCCESS"}};
    const bool validation = line.find("x3ValidateCadNodes") != std::string::npos;
    for (ZRBObject* object = file.GetFirstObject(); object; object = file.GetNextObject(object)) {
      const std::string partNumber = object->GetSlotValue("PARTNUMBER").str();
      if (failFor.count(partNumber)) failed = true;
      if (validation) object->SetSlotValue("VALIDATE_SUCCESS", failFor.count(partNumber) ? "0" : "1");
      for (const auto& [asked, success] : kActions) {
        const CADString value = object->GetSlotValue(asked);
        if (!(value == "1") && !(value == "2")) continue;
        object->SetSlotValue(success, "1");
        if (asked == std::string("CREATE_PART_IN_PDM") && object->GetSlotValue("OBID").IsEmpty())
          object->SetSlotValue("OBID", CADString("NEW-" + partNumber));
        if (asked == std::string("INSTANTIATE_IN_PDM"))
          object->SetSlotValue("DOCREL_ID", CADString("REL-" + object->GetSlotValue("INSTANCENAME").str()));
      }
    }
    file.GetObject("ROOT")->SetSlotValue("ACTION_SUCCESS", failed && !validation ? "0" : "1");
    file.Write(path);
    return 0;
  }
  // Slots asking the PDM to do something in the last request.
  int ActionsInLast() {
    int count = 0;
    ZRBObjectManager& request = requests.back();
    for (ZRBObject* o = request.GetFirstObject(); o; o = request.GetNextObject(o))
      for (const char* slot : {"CREATE_PART_IN_PDM", "CREATE_MODEL_RELATION_ONLY", "CREATE_PART_RELATION_ONLY",
                               "INSTANTIATE_IN_PDM", "UPD_GEOMETRY", "UPD_MATRIX", "REMOVE_IN_PDM"})
        if (o->GetSlotValue(slot) == "1" || o->GetSlotValue(slot) == "2") ++count;
    return count;
  }
};

class SynchronizeTest : public save_test::LoadedAssemblyTest {
 public:
  void SetUp() override {
    LoadedAssemblyTest::SetUp();
    pdm_ = FakePdm();
    SetShellAnswer([this](const std::string& line) { return pdm_.Answer(line); });
  }
  // A new document of `type` with that part number under `parent`.
  Node AddNew(const Node& parent, const char* type, const char* partNumber, CADDocument** document = nullptr) {
    CADDocument* created = nullptr;
    if (type == std::string("vis")) {  // the host makes no new vis documents: a foreign file stands in
      session_->WriteFile(std::string(partNumber) + ".vis", "vis bytes");
      created = session_->Open(std::string(partNumber) + ".vis");
    } else {
      EXPECT_EQ(CADDocumentServices::New(type, created), S_OK);
    }
    Node child;
    EXPECT_EQ(parent->AddExternalComponent(created, child), S_OK);
    child->GetReferenceProduct()->SetPartNumber(partNumber);
    if (document) *document = created;
    return child;
  }
  // "name=Operation" per row, in list order; "!" after the operation marks a failed rule.
  static std::vector<std::string> Rows(ZRBSyncJobList& jobs) {
    static const char* kOps[] = {"None", "Create", "CreateDoc", "Use", "Update"};
    std::vector<std::string> rows;
    for (int i = 0; i < jobs.Size(); ++i) {
      const ZRBSyncJob& job = jobs.At(i);
      std::string row = job.name.str() + "=" + kOps[static_cast<int>(job.operation)];
      if (job.dropChildren) row += "+Drop";
      if (job.addChildren) row += "+Add";
      if (!job.ruleFailure.IsEmpty()) row += "!";
      rows.push_back(row);
    }
    return rows;
  }
  ZRBSynchronizeCmd* Fill() {
    auto* command = new ZRBSynchronizeCmd();
    EXPECT_EQ(command->UpdateProductDocumentInteractive(Doc("Assembly.CADProduct")), 1);
    return command;
  }
  // Starts the command with its dialog.
  void Start() {
    (new ZRBSynchronizeCmd())->Activate(nullptr, nullptr);
    ASSERT_TRUE(Dialogs().Driver().IsOpen("ZRBUpdateCreateDialog"));
  }
  std::string Cell(int row, int column) {
    return Dialogs().Driver().GetCell("ZRBUpdateCreateDialog", "JobMultiList", row, column).str();
  }
  static std::string Text(const char* key) { return ZRBSyncJobTexts::Text(key).str(); }

  FakePdm pdm_;
};

TEST_F(SynchronizeTest, TheFillingListsTheNodesThatNeedWorkChildrenFirst) {
  struct Case {
    const char* name;
    std::function<void(SynchronizeTest&)> edit;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"new product with a new child",
       [](SynchronizeTest& t) { t.AddNew(t.AddNew(t.root_, "CADProduct", "NEWPRD"), "CADPart", "NEWPRT"); },
       {"NEWPRT=Create", "NEWPRD=Create+Add", "Assembly=Update+Add"}},
      {"deleted child",
       [](SynchronizeTest& t) { t.root_->RemoveProduct(t.At("Fixings.1")); },
       {"Assembly=Update+Drop"}},
      {"moved child of a component",
       [](SynchronizeTest& t) {
         const double moved[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 5, 6, 7};
         auto* probe = new ZRBSynchronizeCmd();
         probe->MoveProduct(t.At("Fixings.1/Bolt.1"), t.At("Fixings.1"), moved);
         probe->Release();
       },
       {"Fixings=Update", "Assembly=Update"}},  // the component is stored in the assembly's document
      {"new vis where new vis are refused",
       [](SynchronizeTest& t) {
         SetVariable("ZRB_DISABLE_NEW_VIS", "ON");
         t.AddNew(t.root_, "vis", "VIS");
       },
       {"VIS=Create!", "Assembly=Update+Add!"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    c.edit(*this);
    ZRBSynchronizeCmd* command = Fill();
    EXPECT_EQ(Rows(command->GetJobs()), c.rows);
    command->Release();
    SetVariable("ZRB_DISABLE_NEW_VIS", nullptr);
  }
  EXPECT_EQ(Ref(root_, "ZRB_RULE_FAILED"), ZRBSyncRules::Reason("ErrChildFailedRule").str());
  Restart();
  root_->RemoveProduct(At("Fixings.1"));
  Fill()->Release();
  EXPECT_EQ(ZRBListText::Split(Ref(root_, "ZRB_SYNC_CHILD_REMOVED_PN")), CADListValCADUnicodeString({"Fixings"}));
}

TEST_F(SynchronizeTest, StructureRulesWithoutASettingOfTheirOwn) {
  struct Case {
    const char* name;
    const char* setting;                         // switched "ON" for the case
    std::function<Node(SynchronizeTest&)> edit;  // the node that must fail
    const char* key;
  };
  const Case cases[] = {
      {"archive content placed outside its archive", nullptr,
       [](SynchronizeTest& t) {
         const Node part = t.AddNew(t.root_, "CADPart", "ARC");
         GlobPropertyManager.SetReferenceProperty(part, "ZRB_CONTENT_IN_ARC", "1");
         return part;
       },
       "ErrArchiveContentFound"},
      {"structure of a component changed where that is refused", "ZRB_DISABLE_EMBEDDED_STRUCT_CHANGES",
       [](SynchronizeTest& t) {
         t.At("Fixings.1")->RemoveProduct(t.At("Fixings.1/Bolt.1"));
         return t.At("Fixings.1");
       },
       "ErrEmbeddedStructureChanged"},
      {"... and the component is protected", "ZRB_DISABLE_EMBEDDED_STRUCT_CHANGES",
       [](SynchronizeTest& t) {
         GlobPropertyManager.SetReferenceProperty(t.At("Fixings.1"), "ZRB_PRODUCT_CHANGEABLE", "0");
         t.At("Fixings.1")->RemoveProduct(t.At("Fixings.1/Bolt.1"));
         return t.At("Fixings.1");
       },
       "RealProductNotEmbeddedOrProtected"},
      {"a modified black box", nullptr,
       [](SynchronizeTest& t) {
         GlobPropertyManager.AddBlackBoxRoot(t.root_, GlobPropertyManager.GetProductFullPath(t.At("Bracket.1")));
         t.Doc("Bracket.CADProduct")->SetDirty(1);
         return t.At("Bracket.1");
       },
       "ErrAlreadyBlackBox"},
      {"a part the PDM marks as a component", nullptr,
       [](SynchronizeTest& t) {
         GlobPropertyManager.SetReferenceProperty(t.At("Bracket.1/Plate.1"), "ZRB_ISCOMPONENT", "1");
         return t.At("Bracket.1/Plate.1");
       },
       "ErrComponentStructureInvalid"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    if (c.setting) SetVariable(c.setting, "ON");
    const Node node = c.edit(*this);
    ZRBSynchronizeCmd* command = Fill();
    EXPECT_EQ(Ref(node, "ZRB_RULE_FAILED"), ZRBSyncRules::Reason(c.key).str());
    EXPECT_EQ(Ref(root_, "ZRB_RULE_FAILED"), ZRBSyncRules::Reason("ErrChildFailedRule").str());
    EXPECT_TRUE(command->GetJobs().GetFlags().notExecutable);
    command->Release();
    if (c.setting) SetVariable(c.setting, nullptr);
  }
}

TEST_F(SynchronizeTest, ANodeAnotherStructureBroughtIsLeftOutWithEverythingBelowIt) {
  GlobPropertyManager.DeleteInstanceProperty(root_, At("Fixings.1"), "ZRB_INSTANCE_IN_ZRB");
  const Node below = AddNew(At("Fixings.1"), "CADPart", "NEWBELOW");
  ZRBSynchronizeCmd* command = Fill();
  EXPECT_EQ(Rows(command->GetJobs()), std::vector<std::string>{"Assembly=Update"});
  EXPECT_EQ(Ref(below, "ZRB_RULE_FAILED"), "");
  command->Release();
}

TEST_F(SynchronizeTest, AllAtOnceSkipsTheRowSetToNoAndEndsWithTheFinalUpdate) {
  CADDocument* skipped = nullptr;
  AddNew(root_, "CADPart", "P1");
  AddNew(root_, "CADPart", "P2", &skipped);
  AddNew(root_, "CADPart", "P3");
  skipped->SetDirty(1);
  Start();
  CADDialogDriver& driver = Dialogs().Driver();
  EXPECT_EQ(Cell(0, 0), Text("NextOperation.Next"));
  ASSERT_TRUE(driver.ActivateRow("ZRBUpdateCreateDialog", "JobMultiList", 1));
  EXPECT_EQ(Cell(1, 5), Text("ExecuteOp.No"));
  ASSERT_TRUE(driver.SetCheck("ZRBUpdateCreateDialog", "SingleStepSynchronize", false));
  ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "AutoStepBtn"));
  EXPECT_EQ(Cell(1, 5), Text("ExecuteOp.Skip"));
  EXPECT_EQ(Cell(1, 6), Text("OperationResult.Skipped"));
  for (int row : {0, 2, 3}) EXPECT_EQ(Cell(row, 6), Text("OperationResult.Succeeded")) << row;
  EXPECT_EQ(Cell(3, 0), Text("NextOperation.Done"));
  ASSERT_EQ(pdm_.requests.size(), 4u) << "three rows and the final update";
  EXPECT_EQ(pdm_.requests.back().GetObject("ROOT")->GetSlotValue("PROCESS"), "") << "the final update";
  EXPECT_EQ(Ref(SampleSession::Child(root_, "Part1.1"), "ZRB_OBID"), "NEW-P1");
  ZRBObjectManager& final = pdm_.requests.back();
  for (ZRBObject* o = final.GetFirstObject(); o; o = final.GetNextObject(o))
    EXPECT_NE(o->GetSlotValue("PARTNUMBER"), "P2") << "the skipped row's node is not sent";
  EXPECT_EQ(Ref(SampleSession::Child(root_, "Part2.1"), "ZRB_OBID"), "");
  EXPECT_NE(skipped->IsDirty(), 0u) << "still to save later";
  EXPECT_EQ(driver.GetIcon("ZRBUpdateCreateDialog", "StatusIcon"), "StatusIconWarning");
  EXPECT_FALSE(driver.IsSensitive("ZRBUpdateCreateDialog", "AutoStepBtn"));
  ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "CloseBtn"));
  Loop().RunPending();
}

TEST_F(SynchronizeTest, AnUnsetPartTypeBlocksAllAtOnceUntilItIsSetInTheEditor) {
  SetVariable("ZRB_ENABLE_ASK_FOR_BOM_PART", "ON");
  for (const char* partNumber : {"P1", "P2"}) AddNew(root_, "CADPart", partNumber);
  Start();
  CADDialogDriver& driver = Dialogs().Driver();
  driver.SetCheck("ZRBUpdateCreateDialog", "SingleStepSynchronize", false);
  ExpectBox("ZRBUpdateCreateDialog.NewObjectTypesNeedProcessingSync", 1);
  ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "AutoStepBtn"));
  EXPECT_TRUE(pdm_.requests.empty());
  ASSERT_TRUE(driver.SelectRows("ZRBUpdateCreateDialog", "JobMultiList", {0}));
  ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "EditBtn"));
  ASSERT_TRUE(driver.SetCheck("ZRBSyncEditDlg", "ApplyToAllCheckBtn", true));
  ASSERT_TRUE(driver.SelectComboLine("ZRBSyncEditDlg", "Combo", 1));
  ASSERT_TRUE(driver.Push("ZRBSyncEditDlg", "CloseBtn"));
  EXPECT_EQ(Cell(1, 2), Text("BomTypeAddText"));
  ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "AutoStepBtn"));
  EXPECT_EQ(pdm_.requests.size(), 4u);
  driver.CloseWindow("ZRBUpdateCreateDialog");
  Loop().RunPending();
  SetVariable("ZRB_ENABLE_ASK_FOR_BOM_PART", nullptr);
}

TEST_F(SynchronizeTest, WithValidationRequiredAllAtOnceWaitsForASuccessfulValidation) {
  SetVariable("ZRB_ENABLE_VALIDATE_BEFORE_UPD", "ON");
  AddNew(root_, "CADPart", "P1");
  std::string validation = "error";
  SetShellAnswer([&](const std::string& line) {
    if (validation == "error" && line.find("x3ValidateCadNodes") != std::string::npos) return 127 << 8;  // not found
    pdm_.failFor.clear();
    if (validation == "refused") pdm_.failFor.insert("P1");
    return pdm_.Answer(line);
  });
  Start();
  CADDialogDriver& driver = Dialogs().Driver();
  struct Step {
    const char* validation;
    bool autoStep, validate;
    const char* icon;
  };
  const Step steps[] = {
      {"error", false, true, ""}, {"refused", false, true, "StatusIconWarning"}, {"valid", true, false, ""}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.validation);
    EXPECT_FALSE(driver.IsSensitive("ZRBUpdateCreateDialog", "AutoStepBtn"));
    validation = step.validation;
    ASSERT_TRUE(driver.Push("ZRBUpdateCreateDialog", "ValidateBtn"));
    EXPECT_EQ(driver.IsSensitive("ZRBUpdateCreateDialog", "AutoStepBtn"), step.autoStep);
    EXPECT_EQ(driver.IsSensitive("ZRBUpdateCreateDialog", "ValidateBtn"), step.validate);
    EXPECT_EQ(driver.GetIcon("ZRBUpdateCreateDialog", "StatusIcon"), step.icon);
  }
  driver.CloseWindow("ZRBUpdateCreateDialog");
  Loop().RunPending();
  SetVariable("ZRB_ENABLE_VALIDATE_BEFORE_UPD", nullptr);
}

TEST_F(SynchronizeTest, DeactivatedProductsStopTheCommandAndNoRowRunsBeforeTheListIsValid) {
  ASSERT_EQ(At("Bracket.1")->SetActivationState(0), S_OK);
  SetVariable("ZRB_ENABLE_DEACTIVATED_CHECK", "ON");
  ExpectBox("ZRBUpdateCmd.DeactivatedNotValid", 1);
  (new ZRBSynchronizeCmd())->Activate(nullptr, nullptr);
  Loop().RunPending();
  EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBUpdateCreateDialog"));
  ASSERT_EQ(At("Bracket.1")->SetActivationState(1), S_OK);
  SetVariable("ZRB_ENABLE_DEACTIVATED_CHECK", nullptr);

  SetVariable("ZRB_ENABLE_VALIDATE_BEFORE_UPD", "ON");
  AddNew(root_, "CADPart", "P1");
  ZRBSynchronizeCmd* command = Fill();
  ZRBSyncJobList& jobs = command->GetJobs();
  pdm_.failFor = {"P1"};
  EXPECT_FALSE(jobs.RunNext(*command));
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::None) << "refused by the automatic validation";
  pdm_.failFor.clear();
  EXPECT_TRUE(jobs.RunNext(*command));
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::Succeeded);
  EXPECT_EQ(pdm_.requests.size(), 3u) << "two validations, then the row";
  command->Release();
  SetVariable("ZRB_ENABLE_VALIDATE_BEFORE_UPD", nullptr);
}

TEST_F(SynchronizeTest, AFailedRowGivesBackWhatItTouchedAndTheNextRowsStillRun) {
  CADDocument* failing = nullptr;
  const Node bad = AddNew(root_, "CADPart", "BAD", &failing);
  const Node good = AddNew(root_, "CADPart", "GOOD");
  pdm_.failFor = {"BAD"};
  ZRBSynchronizeCmd* command = Fill();
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_EQ(Rows(jobs), (std::vector<std::string>{"BAD=Create", "GOOD=Create", "Assembly=Update+Add"}));
  failing->SetDirty(1);
  // A row that sends a document takes its quick-check seal away.
  SetVariable("ZRB_READ_QCKSEAL", "ON");
  SetVariable("ZRB_QCK_TIMESTAMP", "ON");
  const CADUnicodeString goodPath = GlobPropertyManager.GetProductFullPath(good);
  GlobPropertyManager.SetFileProperty(goodPath, "ZRB_QCKFILE_UPTODATE", "1");
  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::Failed);
  EXPECT_NE(failing->IsDirty(), 0u);
  EXPECT_EQ(Ref(bad, "ZRB_OBID"), "");
  EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty(bad, "ZRB_PRIVATE_UPDATE_ID").str(), "");
  jobs.RunNext(*command);
  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(1).result, ZRBSyncResult::Succeeded);
  EXPECT_EQ(jobs.At(2).result, ZRBSyncResult::Succeeded);
  EXPECT_FALSE(GlobPropertyManager.IsFilePropertySet(goodPath, "ZRB_QCKFILE_UPTODATE"));
  SetVariable("ZRB_READ_QCKSEAL", "");
  SetVariable("ZRB_QCK_TIMESTAMP", "");
  EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(root_, good, "ZRB_INSTANCE_IN_ZRB").str(), "1");
  EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(root_, good, "ZRB_RELATION").str(),
            "REL-" + SampleSession::InstanceName(good));
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), bad.get()), 0) << "still to be linked";
  command->Release();
}

TEST_F(SynchronizeTest, AfterANewStructureIsSynchronisedTheUpdateSendsNoAction) {
  const Node product = AddNew(root_, "CADProduct", "NEWPRD");
  AddNew(product, "CADPart", "NEWPRT");
  ZRBSynchronizeCmd* command = Fill();
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_TRUE(jobs.RunAll(*command));
  for (int i = 0; i < jobs.Size(); ++i) EXPECT_EQ(jobs.At(i).result, ZRBSyncResult::Succeeded) << i;
  ASSERT_EQ(pdm_.requests.size(), 5u) << "three rows, the workbench entries, the final update";
  ZRBObjectManager& workbench = pdm_.requests[3];
  const ZRBObject* entry = workbench.GetObject(workbench.GetObject("ROOT")->GetSlotValue("NEXT_OP"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->GetSlotValue("OBID"), "NEW-NEWPRD");
  EXPECT_EQ(entry->GetSlotValue("PARENT_OBID"), "ID-Assembly");
  EXPECT_EQ(entry->GetSlotValue("REL_OBID"), CADString("REL-" + SampleSession::InstanceName(product)));
  // As after a creating update, the final update sends the new parts' documents with their new identity once.
  EXPECT_EQ(pdm_.ActionsInLast(), 1);
  EXPECT_EQ(pdm_.requests.back().GetObjectByAttrValue("UPD_GEOMETRY", "1")->GetSlotValue("PARTNUMBER"), "NEWPRT");
  command->Release();
  (new ZRBUpdateCmd())->Activate(nullptr, nullptr);
  Loop().RunPending();
  ASSERT_EQ(pdm_.requests.size(), 6u);
  EXPECT_EQ(pdm_.ActionsInLast(), 0);
}

}  // namespace
