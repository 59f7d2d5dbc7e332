// A part or a drawing saved alone in structure-file mode: no PDM session, the structure file takes the save and is
// read again; a file that cannot take it or be read again leaves the document modified and the file as it was.
#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "PdmEndToEndFixture.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBUpdateCmd.h"

namespace {

class StructureFileSingleDocTest : public PdmEndToEndFixture {
 protected:
  // `item` loaded alone, its read answer kept as the structure file; its document, marked modified.
  CADDocument* LoadModified(const std::string& item, const std::string& file) {
    Pdm("load-into-cad", item);
    Loop().RunPending();
    WriteFile(XmapFile("sZRBstructure"), ReadFile(XmapFile("xfile.zrb")));
    CADDocument* document = CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(file)));
    if (document) document->SetDirty(1);
    return document;
  }
  std::string Save() {
    CaptureTrace();
    auto* command = new ZRBUpdateCmd(3);
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& line : command->GetWarnings()) warnings += line.str() + "\n";
    Loop().RunPending();
    const auto actions = JournalActions();
    EXPECT_EQ(std::count(actions.begin(), actions.end(), "x3UpdateFromFile"), 0) << "no PDM session";
    return warnings;
  }
};

TEST_F(StructureFileSingleDocTest, ThePartAndTheDrawingAreRecordedInTheFileAndReadBack) {
  ImportSampleSession();
  for (const auto& [item, file, kept] :
       {std::tuple{"Plate", "Plate.CADPart", "MODEL_INFO"}, std::tuple{"Plate-DRW", "Plate.CADDrawing", "SHEETS"}}) {
    SCOPED_TRACE(item);
    CADDocument* document = LoadModified(item, file);
    ASSERT_NE(document, nullptr);
    const std::string warnings = Save();
    EXPECT_TRUE(TraceHas("SUCCESS IN REREAD OF STRUCTUREFILE")) << warnings;
    EXPECT_EQ(document->IsDirty(), 0u);
    ZRBObjectManager structure;
    ASSERT_TRUE(structure.Read(CADUnicodeString(XmapFile("sZRBstructure"))));
    const std::string obid = nlohmann::json::parse(Pdm("vault", "show", item, "--json"))["obid"];
    const ZRBObject* saved = nullptr;
    for (ZRBObject* o = structure.GetFirstObject(); o; o = structure.GetNextObject(o))
      if (o->GetSlotValue("OBID") == obid.c_str() && !o->GetSlotValue("CADCLASSNAME").IsEmpty()) saved = o;
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->GetSlotValue("S_ZRB_CHANGED_GEO"), "1");
    EXPECT_FALSE(std::string(kept) == "SHEETS"
                     ? saved->GetSlotValueList("SHEETS").Size() == 0
                     : structure.GetObjectByAttrValue("SYNTACTICAL_FORMAT", "CAD") == nullptr);
  }
}

TEST_F(StructureFileSingleDocTest, AFileThatCannotTakeTheSaveOrBeReadAgainLeavesEverythingAsItWas) {
  ImportSampleSession();
  for (const bool missing : {true, false}) {
    SCOPED_TRACE(missing ? "no structure file" : "a structure file without its root");
    CADDocument* document = LoadModified("Plate", "Plate.CADPart");
    ASSERT_NE(document, nullptr);
    std::string before = missing ? std::string() : ReadFile(XmapFile("sZRBstructure"));
    if (const auto root = before.find("@ROOT\n"); root != std::string::npos)
      before.erase(root, before.find("\n@", root) + 1 - root);
    WriteFile(XmapFile("sZRBstructure"), before);
    if (missing) std::filesystem::remove(XmapFile("sZRBstructure"));
    if (missing) ExpectBox("ZRBUpdateCmd.NoFileAccessSZRB", 1);
    const std::string warnings = Save();
    EXPECT_NE(document->IsDirty(), 0u);
    EXPECT_EQ(Exists(XmapFile("sZRBstructure")) ? ReadFile(XmapFile("sZRBstructure")) : std::string(), before);
    EXPECT_EQ(warnings.find("could not be read again") != std::string::npos, !missing) << warnings;
  }
}

}  // namespace
