// A part's design tables saved with the part alone, a drawing whose document the PDM refused, and an extended
// structure file that takes the save but cannot be read back: each against the reference PDM or its file.
#include <algorithm>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADIParmPublisher.h"
#include "CADIPrdProperties.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateCmd.h"

namespace {

class UpdateLooseEndsTest : public PdmEndToEndFixture {
 protected:
  CADDocument* Document(const std::string& name) {
    return CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(name)));
  }
  // One update of the active window: its result and its warnings in one text.
  std::pair<CADCommandResult, std::string> Save(int mode = 0) {
    auto* command = new ZRBUpdateCmd(mode);
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& line : command->GetWarnings()) warnings += line.str() + "\n";
    const CADCommandResult result = command->GetResult();
    Loop().RunPending();
    return {result, warnings};
  }
  // The table objects of the last save request's one node.
  std::vector<std::string> LastTables() {
    int seq = 0;
    for (const PdmCall& call : Journal())
      if (call.action == "x3UpdateFromFile") seq = call.seq;
    WriteFile(Root() + "/request.zrb", JournalRequest(seq));
    ZRBObjectManager request;
    EXPECT_TRUE(request.Read(CADUnicodeString(Root() + "/request.zrb")));
    const ZRBObject* node = request.GetObject(request.GetObject("ROOT")->GetSlotValueList("SUBASSEMBLIES")[1]);
    std::vector<std::string> tables;
    for (const CADString& key : node->GetSlotValueList("TABLES")) {
      const ZRBObject* table = request.GetObject(key);
      tables.push_back((table->GetSlotValue("LINK_DESTAB") == "1" ? "link " : "update ") +
                       std::string(table->GetSlotValue("EXTERNAL_LOCATION").c_str()));
    }
    return tables;
  }
};

TEST_F(UpdateLooseEndsTest, APartSavedAloneLinksItsNewDesignTableOnce) {
  ImportSampleSession();
  ZRBInfoUtil::SetUseDesigTables(1);
  const CADIProduct_var plate = LoadIntoCad("Plate");
  ASSERT_TRUE(plate);
  WriteFile(Root() + "/extra.xls", "a\tb\n1\t2\n");
  CADIDesignTable_var table;
  ASSERT_EQ(CADIParmPublisher_var(plate.get())->AddDesignTable("Extra", CADUnicodeString(Root() + "/extra.xls"), table),
            S_OK);
  for (const bool first : {true, false}) {
    Document("Plate.CADPart")->SetDirty(1);
    EXPECT_EQ(Save().first, CADCommandResult::Succeeded);
    const std::vector<std::string> tables = LastTables();
    EXPECT_EQ(std::count(tables.begin(), tables.end(), "link " + XmapFile("extra.xls")), first ? 1 : 0);
    EXPECT_TRUE(first || tables.empty()) << "the PDM holds every table after the first save";
    EXPECT_NE(GlobPropertyManager.GetReferenceProperty(plate, "ZRB_DESIGNTABLES").str().find("extra.xls"),
              std::string::npos);
  }
}

TEST_F(UpdateLooseEndsTest, ADrawingWhoseDocumentThePdmRefusedStaysModified) {
  ImportSampleSession();
  LoadIntoCad("Plate-DRW");
  CADDocument* drawing = Document("Plate.CADDrawing");
  ASSERT_NE(drawing, nullptr);
  drawing->SetDirty(1);
  Pdm("fault", "set", "x3UpdateFromFile", "--fail-for", "Plate-DRW", "--times", "1");
  const auto [result, warnings] = Save();
  EXPECT_EQ(result, CADCommandResult::Warning);
  EXPECT_NE(warnings.find("did not store the document of the drawing \"" + XmapFile("Plate.CADDrawing")),
            std::string::npos)
      << warnings;
  EXPECT_NE(drawing->IsDirty(), 0u);
}

TEST_F(UpdateLooseEndsTest, AnExtendedStructureFileNotReadBackKeepsTheSaveAndWarns) {
  ImportSampleSession();
  const CADIProduct_var root = LoadIntoCad();
  ASSERT_TRUE(root);
  // Without its root object the file takes the merge but no read can build a structure from it.
  std::string file = ReadFile(XmapFile("xfile.zrb"));
  const auto at = file.find("@ROOT\n");
  ASSERT_NE(at, std::string::npos);
  file.erase(at, file.find("\n@", at) + 1 - at);
  WriteFile(XmapFile("eZRBstructure"), file);
  ZRBInfoUtil::SetDataModelValue("LEGACY_DATA_MODEL");
  CADIPrdProperties_var(SampleSession::Node(root, "Bracket.1/Plate.1")->GetReferenceProduct())
      ->SetDescription("thicker");
  const auto [result, warnings] = Save(6);
  EXPECT_EQ(result, CADCommandResult::Warning);
  EXPECT_NE(warnings.find("could not read it again"), std::string::npos) << warnings;
  EXPECT_EQ(Document("Plate.CADPart")->IsDirty(), 0u) << "the save stands";
  EXPECT_NE(ReadFile(XmapFile("eZRBstructure")), file) << "the merge stands";
}

}  // namespace
