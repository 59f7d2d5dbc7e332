// One synchronisation row after the other against the reference PDM: what the one-node requests carry, what
// the session takes from the answers, and a row the PDM refuses giving back what it touched.
#include <algorithm>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "CADIParmPublisher.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBCommandStates.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBPropertyManager.h"
#include "ZRBSynchronizeCmd.h"

namespace {

class SynchronizeEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad("Assembly"));
    assembly_ = CADFrmEditor::GetCurrentEditor()->GetDocument();
    CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(Root()));
    ASSERT_EQ(CADDocumentServices::New("CADPart", part_), S_OK);
    ASSERT_EQ(root_->AddExternalComponent(part_, added_), S_OK);
    added_->GetReferenceProduct()->SetPartNumber("NEWPART");
    GlobPropertyManager.SetInstanceProperty(root_, added_, "ZRB_KEEP_AS_NEW", "1");
    Pdm("journal", "clear");
  }
  std::string Ref(const CADIProduct_var& node, const char* name) {
    return GlobPropertyManager.GetReferenceProperty(node, name).str();
  }
  std::string Inst(const char* name) { return GlobPropertyManager.GetInstanceProperty(root_, added_, name).str(); }

  CADDocument* assembly_ = nullptr;
  CADDocument* part_ = nullptr;
  CADIProduct_var root_, added_;
};

TEST_F(SynchronizeEndToEndTest, EachRowIsOneRequestAndItsAnswerIsAppliedAtOnce) {
  auto* command = new ZRBSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly_), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_EQ(jobs.Size(), 2);
  EXPECT_EQ(jobs.At(0).name.str(), "NEWPART");
  EXPECT_EQ(jobs.At(1).name.str(), "Assembly");

  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::Succeeded);
  const std::string partRequest = JournalRequest(Journal().back().seq);
  for (const char* text : {"SyncCADPart", "CREATE_PART_IN_PDM", "PS_NEW", "x0CadPrt"})
    EXPECT_NE(partRequest.find(text), std::string::npos) << text << "\n" << partRequest;
  EXPECT_FALSE(Ref(added_, "ZRB_OBID").empty());
  EXPECT_EQ(Inst("ZRB_INSTANCE_IN_ZRB"), "") << "linked by the parent's row";

  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(1).result, ZRBSyncResult::Succeeded);
  std::vector<int> updates;  // the PDM may also be asked for its settings
  for (const PdmCall& call : Journal())
    if (call.action == "x3UpdateFromFile") updates.push_back(call.seq);
  ASSERT_EQ(updates.size(), 3u) << "two rows and the final update";
  const std::string productRequest = JournalRequest(updates[1]);
  EXPECT_NE(productRequest.find("SyncCADProduct"), std::string::npos) << productRequest;
  EXPECT_NE(productRequest.find("INSTANTIATE_IN_PDM"), std::string::npos) << productRequest;
  EXPECT_EQ(Inst("ZRB_INSTANCE_IN_ZRB"), "1");
  EXPECT_FALSE(Inst("ZRB_RELATION").empty());
  EXPECT_EQ(Inst("ZRB_KEEP_AS_NEW"), "");
  EXPECT_EQ(ZRBCommandStates::isChildOrigLoadChild(root_.get(), added_.get()), 1);
  command->Release();
}

TEST_F(SynchronizeEndToEndTest, ARowThePdmRefusesKeepsTheNewPartNewAndModified) {
  PdmFault("x3UpdateFromFile", "--fail-for NEWPART --code 0");
  auto* command = new ZRBSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly_), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  part_->SetDirty(1);
  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::Failed);
  EXPECT_NE(part_->IsDirty(), 0u);
  EXPECT_EQ(Ref(added_, "ZRB_OBID"), "");
  EXPECT_EQ(GlobPropertyManager.GetPathToRootProperty(added_, "ZRB_PRIVATE_UPDATE_ID").str(), "");
  EXPECT_NE(jobs.WantedButtons(-1).autoStep, true) << "a failed row stops all-at-once";
  command->Release();
}

TEST_F(SynchronizeEndToEndTest, ThePdmNamesStandardPartsAndPartTypesOrStopsTheFilling) {
  WriteFile(Root() + "/din912.CADPart", "standard screw\n");
  Pdm("vault", "add-item", "DIN912", "--file", Root() + "/din912.CADPart");
  Pdm("part-info", "standard", "DIN912");
  Pdm("part-info", "bom-type", "NEWPART", "BOM");
  CADDocument* screw = nullptr;
  CADIProduct_var standard;
  ASSERT_EQ(CADDocumentServices::New("CADPart", screw), S_OK);
  ASSERT_EQ(root_->AddExternalComponent(screw, standard), S_OK);
  standard->GetReferenceProduct()->SetPartNumber("DIN912");
  SetVariable("ZRB_GET_BOMTYPE_FROM_PDM", "ON");

  // Without the standard parts nothing is listed: the screw would be created as a new part.
  PdmFault("x3GetInfoForParts", "--code 0 --times 1");
  ExpectBox("ZRBUpdateCmd.NoPartInfosFromPdm", 1);
  auto* refused = new ZRBSynchronizeCmd();
  EXPECT_EQ(refused->UpdateProductDocumentInteractive(assembly_), 0);
  refused->Release();
  EXPECT_EQ(Ref(standard, "ZRB_OBID"), "");

  auto* command = new ZRBSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly_), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_EQ(jobs.Size(), 2) << "no row for the standard part";
  EXPECT_EQ(jobs.At(0).partType, ZRBPartType::Bom);
  EXPECT_EQ(Ref(added_, "ZRB_PART_TYPE_FOR_SYNC"), "BOM");
  EXPECT_EQ(Ref(standard, "ZRB_IS_STD_PART"), "1");
  EXPECT_FALSE(Ref(standard, "ZRB_OBID").empty());
  jobs.RunAll(*command);
  EXPECT_EQ(jobs.At(1).result, ZRBSyncResult::Succeeded);
  EXPECT_EQ(GlobPropertyManager.GetInstanceProperty(root_, standard, "ZRB_INSTANCE_IN_ZRB").str(), "1")
      << "the existing item is linked, not created";
  command->Release();
}

TEST_F(SynchronizeEndToEndTest, EachDesignTableIsARowOfItsOwnAfterItsPart) {
  ZRBInfoUtil::SetUseDesigTables(1);
  const CADIProduct_var plate = SampleSession::Node(root_, "Bracket.1/Plate.1");
  ASSERT_TRUE(plate);
  // "sizes.xls" is new, though a known item's name ends with it; the known one is gone from the part.
  GlobPropertyManager.SetReferenceProperty(plate, "ZRB_DESIGNTABLES", "{oldsizes.xls}");
  WriteFile(Root() + "/sizes.xls", "a\tb\n1\t2\n");
  CADIDesignTable_var table;
  ASSERT_EQ(CADIParmPublisher_var(plate.get())->AddDesignTable("Sizes", CADUnicodeString(Root() + "/sizes.xls"), table),
            S_OK);
  auto* command = new ZRBSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly_), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  std::vector<std::string> rows;
  for (int i = 0; i < jobs.Size(); ++i)
    rows.push_back(jobs.At(i).kind.str() + ":" + jobs.At(i).name.str() + (jobs.At(i).dropChildren ? "-" : ""));
  const auto at = [&](const std::string& row) { return std::find(rows.begin(), rows.end(), row) - rows.begin(); };
  ASSERT_LT(at("DesignTable:sizes.xls"), jobs.Size()) << ::testing::PrintToString(rows);
  ASSERT_LT(at("DesignTable:oldsizes.xls-"), jobs.Size()) << ::testing::PrintToString(rows);
  const auto list = [&](const char* name) {
    return ZRBListText::Split(GlobPropertyManager.GetReferenceProperty(plate, name).view());
  };
  EXPECT_EQ(list("ZRB_SYNC_ADD_TAB"), CADListValCADUnicodeString({"PlateSizes.xls", "sizes.xls"}));
  EXPECT_EQ(list("ZRB_SYNC_DROP_TAB"), CADListValCADUnicodeString({"oldsizes.xls"}));

  jobs.RunAll(*command);
  for (int i = 0; i < jobs.Size(); ++i)
    EXPECT_EQ(jobs.At(i).result, ZRBSyncResult::Succeeded) << rows[static_cast<size_t>(i)];
  bool linked = false;
  for (const PdmCall& call : Journal()) {
    const std::string request = call.action == "x3UpdateFromFile" ? JournalRequest(call.seq) : "";
    if (request.find("SyncDesignTable") != std::string::npos && request.find("LINK_DESTAB") != std::string::npos)
      linked = request.find("sizes.xls") != std::string::npos;
  }
  EXPECT_TRUE(linked);
  EXPECT_EQ(list("ZRB_DESIGNTABLES"), CADListValCADUnicodeString({"PlateSizes.xls", "sizes.xls"}));
  command->Release();
}

}  // namespace
