// A file replaced by another document's after the read, against the reference PDM: the save refuses it until the
// file is the document again, and then sends the file's identifier in the plate's model info.
#include <gtest/gtest.h>

#include "CADDocumentServices.h"
#include "CADIPrdProperties.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateCmd.h"

namespace {

class IdentityEndToEndTest : public PdmEndToEndFixture {
 protected:
  // Saves; the "UUID" the plate's model info was sent with, "-" when nothing was sent.
  std::string Save() {
    Pdm("journal", "clear");
    (new ZRBUpdateCmd())->Activate(nullptr, nullptr);
    Loop().RunPending();
    std::string uuid = "-";
    for (const PdmCall& call : Journal()) {
      if (call.action != "x3UpdateFromFile") continue;
      uuid.clear();
      WriteFile(Root() + "/request.zrb", JournalRequest(call.seq));
      ZRBObjectManager request;
      request.Read(CADUnicodeString(Root() + "/request.zrb"));
      for (ZRBObject* o = request.GetFirstObject(); o; o = request.GetNextObject(o))
        if (const ZRBObject* info = request.GetObject(o->GetSlotValue("MODEL_INFO"));
            o->GetSlotValue("PARTNUMBER") == "Plate" && info)
          uuid = info->GetSlotValue("UUID").str();
    }
    return uuid;
  }
};

TEST_F(IdentityEndToEndTest, AReplacedFileIsSavedOnlyOnceItIsTheDocumentAgain) {
  SetVariable("ZRB_READ_UUID", "ON");
  ImportSampleSession();
  const CADIProduct_var root = LoadIntoCad("Assembly");
  ASSERT_TRUE(root);
  const CADIProduct_var plate = SampleSession::Node(root, "Bracket.1/Plate.1");
  const std::string stored = GlobPropertyManager.GetReferenceProperty(plate, "STORED_UUID").str();
  CADDocument* other = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", other), S_OK);
  ASSERT_EQ(CADDocumentServices::SaveAs(other, CADUnicodeString(Root() + "/Other.CADPart")), S_OK);
  const std::string plateFile = ReadFile(XmapFile("Plate.CADPart"));
  WriteFile(XmapFile("Plate.CADPart"), ReadFile(Root() + "/Other.CADPart"));
  CADIPrdProperties_var(plate->GetReferenceProduct())->SetDescription("thicker");
  EXPECT_EQ(Save(), "-");
  WriteFile(XmapFile("Plate.CADPart"), plateFile);
  EXPECT_EQ(Save(), stored);
  EXPECT_FALSE(stored.empty());
  EXPECT_EQ(CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADPart")))->IsDirty(), 0u);
  SetVariable("ZRB_READ_UUID", nullptr);
}

}  // namespace
