// A part or a drawing saved alone in structure-file mode: no PDM session, the structure file takes the save and is
// read again; a file that cannot take it or be read again leaves the document modified and the file as it was.
#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "PdmEndToEndFixture.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBUpdateCmd.h"

namespace {

class StructureFileSingleDocTest : public PdmEndToEndFixture {};

TEST_F(StructureFileSingleDocTest, TheFileTakesTheSaveAndIsReadBackOrNothingChanges) {
  ImportSampleSession();
  enum File { Whole, Missing, WithoutRoot };
  // The failures first: the trace gathers over the rows. `kept`: a slot the file holds after the save.
  for (const auto& [item, name, file, kept] : {std::tuple{"Plate", "Plate.CADPart", Missing, ""},
                                               {"Plate", "Plate.CADPart", WithoutRoot, ""},
                                               {"Plate", "Plate.CADPart", Whole, "SYNTACTICAL_FORMAT"},
                                               {"Plate-DRW", "Plate.CADDrawing", Whole, "SHEETS"}}) {
    SCOPED_TRACE(std::string(item) + " " + std::to_string(file));
    Pdm("load-into-cad", item);
    Loop().RunPending();
    std::string before = file == Missing ? std::string() : ReadFile(XmapFile("xfile.zrb"));
    if (const auto root = before.find("@ROOT\n"); file == WithoutRoot && root != std::string::npos)
      before.erase(root, before.find("\n@", root) + 1 - root);
    WriteFile(XmapFile("sZRBstructure"), before);
    if (file == Missing) std::filesystem::remove(XmapFile("sZRBstructure"));
    if (file == Missing) ExpectBox("ZRBUpdateCmd.NoFileAccessSZRB", 1);
    CADDocument* document = CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(name)));
    ASSERT_NE(document, nullptr);
    document->SetDirty(1);
    CaptureTrace();
    auto* command = new ZRBUpdateCmd(3);
    command->Activate(nullptr, nullptr);
    std::string warnings;
    for (const CADUnicodeString& line : command->GetWarnings()) warnings += line.str() + "\n";
    Loop().RunPending();
    const auto actions = JournalActions();
    EXPECT_EQ(std::count(actions.begin(), actions.end(), "x3UpdateFromFile"), 0) << "no PDM session";
    EXPECT_EQ(document->IsDirty() == 0, file == Whole) << warnings;
    EXPECT_EQ(TraceHas("SUCCESS IN REREAD OF STRUCTUREFILE"), file == Whole);
    EXPECT_EQ(warnings.find("could not be read again") != std::string::npos, file == WithoutRoot) << warnings;
    EXPECT_TRUE(file == Whole || ReadFile(XmapFile("sZRBstructure")) == before) << "the file as it was";
    // The document object, which a read judges, is marked changed.
    ZRBObjectManager structure;
    bool marked = false, described = false;
    for (ZRBObject* o = structure.Read(CADUnicodeString(XmapFile("sZRBstructure"))) ? structure.GetFirstObject()
                                                                                    : nullptr;
         o; o = structure.GetNextObject(o)) {
      marked = marked || (o->GetSlotValue("S_ZRB_CHANGED_GEO") == "1" && !o->GetSlotValue("DOC_OBID").IsEmpty());
      described = described || (*kept && !o->GetSlotValue(kept).IsEmpty());
    }
    EXPECT_EQ(marked && described, file == Whole);
  }
}

// Neither fits a structure file, and the mode runs no PDM session: the document is refused and stays modified.
TEST_F(StructureFileSingleDocTest, AProcessOrAnAnalysisIsNotSavedInStructureFileMode) {
  for (const char* type : {"CADProcess", "CADAnalysis"}) {
    CADDocument* document = nullptr;
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADDocumentServices::New(type, document), S_OK);
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    CADFrmLayout::GetCurrentLayout().SetCurrentWindow(window);
    document->SetDirty(1);
    auto* command = new ZRBUpdateCmd(3);
    command->Activate(nullptr, nullptr);
    ASSERT_EQ(command->GetWarnings().Size(), 1) << type;
    EXPECT_NE(command->GetWarnings()[1].str().find("structure-file mode"), std::string::npos);
    Loop().RunPending();
    EXPECT_NE(document->IsDirty(), 0u);
    EXPECT_TRUE(JournalActions().empty());
  }
}

}  // namespace
