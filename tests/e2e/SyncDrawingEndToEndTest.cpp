// A drawing's synchronise row against the reference PDM: one request saves the drawing under its identity, and
// no structure update follows it.
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "PdmEndToEndFixture.h"
#include "ZRBSynchronizeCmd.h"

namespace {

class SyncDrawingEndToEndTest : public PdmEndToEndFixture {};

TEST_F(SyncDrawingEndToEndTest, AModifiedDrawingIsOneRequestAndNothingMore) {
  ImportSampleSession();
  Pdm("load-into-cad", "Plate-DRW");
  Loop().RunPending();
  CADDocument* drawing = CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADDrawing")));
  ASSERT_NE(drawing, nullptr);
  drawing->SetDirty(1);
  Pdm("journal", "clear");
  auto* command = new ZRBSynchronizeCmd();
  ASSERT_EQ(command->UpdateDrawingDocumentInteractive(drawing), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_EQ(jobs.Size(), 1);
  EXPECT_EQ(jobs.At(0).operation, ZRBSyncMainOp::Update);
  ASSERT_TRUE(jobs.RunAll(*command));
  EXPECT_EQ(jobs.At(0).result, ZRBSyncResult::Succeeded);
  EXPECT_EQ(jobs.Icon(), ZRBSyncIcon::Success);
  ASSERT_EQ(JournalActions(), std::vector<std::string>{"x3UpdateFromFile"}) << "no final structure update";
  const std::string request = JournalRequest(Journal().back().seq);
  for (const std::string& text : {std::string("UPD_GEOMETRY"), std::string("OBID"), drawing->StorageName().str()})
    EXPECT_NE(request.find(text), std::string::npos) << text << "\n" << request;
  EXPECT_EQ(drawing->IsDirty(), 0u);
  command->Release();
}

}  // namespace
