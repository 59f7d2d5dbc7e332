// A document file replaced by another document's after the read, against the reference PDM: the save refuses to
// send it as its node until the file is the document again, and then tells the PDM the file's identifier.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "CADDocument.h"
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
  std::string Save() {
    auto* command = new ZRBUpdateCmd();
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings += text.str() + "\n";
    Loop().RunPending();
    return warnings;
  }
  // The "UUID" of the plate's model info in the last save request; "-" when no save was sent.
  std::string SentIdentifier() {
    int seq = 0;
    for (const PdmCall& call : Journal())
      if (call.action == "x3UpdateFromFile") seq = call.seq;
    if (!seq) return "-";
    WriteFile(Root() + "/request.zrb", JournalRequest(seq));
    ZRBObjectManager request;
    EXPECT_TRUE(request.Read(CADUnicodeString(Root() + "/request.zrb")));
    for (ZRBObject* o = request.GetFirstObject(); o; o = request.GetNextObject(o))
      if (o->GetSlotValue("PARTNUMBER") == "Plate" && o->GetSlotValue("UPD_GEOMETRY") == "1")
        if (const ZRBObject* info = request.GetObject(o->GetSlotValue("MODEL_INFO")))
          return info->GetSlotValue("UUID").str();
    return "";
  }
};

TEST_F(IdentityEndToEndTest, AReplacedFileIsSavedOnlyOnceItIsTheDocumentAgain) {
  SetVariable("ZRB_READ_UUID", "ON");
  ImportSampleSession();
  const CADIProduct_var root = LoadIntoCad("Assembly");
  ASSERT_TRUE(root);
  const CADIProduct_var plate = SampleSession::Node(root, "Bracket.1/Plate.1");
  const std::string stored = GlobPropertyManager.GetReferenceProperty(plate, "STORED_UUID").str();
  ASSERT_FALSE(stored.empty()) << "the read records the identifier";
  CADDocument* plateDocument = CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile("Plate.CADPart")));
  ASSERT_TRUE(plateDocument);

  // Another document's file copied over the plate's.
  CADDocument* other = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", other), S_OK);
  ASSERT_EQ(CADDocumentServices::SaveAs(other, CADUnicodeString(Root() + "/Other.CADPart")), S_OK);
  const std::string plateFile = ReadFile(XmapFile("Plate.CADPart"));
  WriteFile(XmapFile("Plate.CADPart"), ReadFile(Root() + "/Other.CADPart"));
  CADIPrdProperties_var(plate->GetReferenceProduct())->SetDescription("thicker");
  Pdm("journal", "clear");
  EXPECT_NE(Save().find("does not match its file"), std::string::npos);
  EXPECT_EQ(SentIdentifier(), "-");
  EXPECT_NE(plateDocument->IsDirty(), 0u);

  WriteFile(XmapFile("Plate.CADPart"), plateFile);
  Save();
  EXPECT_EQ(SentIdentifier(), stored);
  EXPECT_EQ(plateDocument->IsDirty(), 0u);
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty(plate, "STORED_UUID").str(), stored);
  SetVariable("ZRB_READ_UUID", nullptr);
}

}  // namespace
