// The read's other ways in (import, structure file from a directory, the PDM's add command) and its cache: what
// the first read left in the exchange map is advertised by the next, and only changed documents come again.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CADApplicationFrame.h"
#include "CADDlgReaper.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "PdmEndToEndFixture.h"
#include "SampleSession.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBInfoUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBReadCmd.h"

namespace {
namespace fs = std::filesystem;

class ReadModesTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
  }

  // A structure file as the PDM leaves it for an import: the answer of a read of `partNumber`, delivered into
  // `directory`, under the structure file's name.
  void WriteStructureFile(const std::string& directory, const std::string& partNumber) {
    fs::create_directories(directory);
    Pdm("load-into-cad", "--no-start", partNumber);
    const std::string request = directory + "/xfile.zrb";
    WriteFile(request, "@COMMAND\n{COMMAND} REQUEST_READ\n{EXMAP} " + directory + "\n\n");
    ASSERT_EQ(RunPdmSession("x3WriteZRBFile", request), 0);
    fs::rename(request, directory + "/sZRBstructure");
    Pdm("journal", "clear");
  }
  int RunPdmSession(const std::string& action, const std::string& file) {
    return std::system(("pdmcl -b -- PdmSessn " + action + " '" + file + "'").c_str());
  }

  // The root products of the session's documents with that part number.
  static std::vector<CADIProduct_var> RootsWithPartNumber(const std::string& partNumber) {
    std::vector<CADIProduct_var> roots;
    for (const CADBaseUnknown_var& entry : CADDocumentServices::GetListOfDocuments()) {
      CADDocument_var document(entry);
      CADIProduct_var root = document ? document->GetRootProduct() : nullptr;
      if (root && root->GetPartNumber().str() == partNumber) roots.push_back(root);
    }
    return roots;
  }

  // Objects of an answer file that name the file and carry "USE_FILE_IN_EXMAP" "1".
  std::vector<std::string> TakenFromTheExchangeMap(const std::string& answerFile) {
    ZRBObjectManager answer;
    EXPECT_EQ(answer.Read(CADUnicodeString(answerFile)), 1);
    std::vector<std::string> names;
    for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object)) {
      if (object->GetSlotValue("USE_FILE_IN_EXMAP") != "1") continue;
      names.push_back(fs::path(object->GetSlotValue("EXTERNAL_LOCATION").str()).filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ReadModesTest, TheSecondReadTakesUnchangedDocumentsFromTheExchangeMap) {
  ASSERT_TRUE(LoadIntoCad("Assembly"));

  // The designer closes everything; the PDM changes one part meanwhile.
  CADDocumentServices::ResetSession();
  Pdm("vault", "touch", "Bolt");
  LoadIntoCad("Assembly");

  const std::vector<PdmCall> calls = Journal();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_NE(calls[1].outcome.find("1 delivered, 4 from the exchange map"), std::string::npos) << calls[1].outcome;
  EXPECT_NE(JournalRequest(2).find("{XMAPCONTENT} " + XmapFile("xmapfiles.zrb")), std::string::npos);
  EXPECT_EQ(TakenFromTheExchangeMap(XmapFile("xfile.zrb")),
            (std::vector<std::string>{"Assembly.CADProduct", "Bracket.CADProduct", "Plate.CADPart", "PlateSizes.xls"}));
  EXPECT_EQ(Backups(), std::vector<std::string>{});
  EXPECT_EQ(ReadFile(XmapFile("Bolt.CADPart")), ReadFile(SampleDirectory() + "/Bolt.CADPart"));
  EXPECT_EQ(RootsWithPartNumber("Assembly").size(), 1u) << "the structure is built from the kept files";
}

TEST_F(ReadModesTest, TheAddCommandPlacesTheResultBelowTheWorkbench) {
  for (const char* item : {"Bolt", "Plate"}) {
    Pdm("load-into-cad", "--add", item);
    Loop().RunPending();
  }
  const std::vector<CADIProduct_var> workbenches = RootsWithPartNumber("ZRB_Workbench");
  ASSERT_EQ(workbenches.size(), 1u) << "the second read reuses the workbench";
  EXPECT_EQ(SampleSession::ChildNames(workbenches[0]), "Bolt.1,Plate.1");
}

TEST_F(ReadModesTest, AnImportReadsTheStructureFileThePdmCopied) {
  // Without a structure file the import fails with a clear line.
  Start(new ZRBReadCmd(2));
  Loop().RunPending();
  std::vector<PdmCall> calls = Journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].action, "x3CopysZRBFiles");
  EXPECT_EQ(calls[0].args, std::vector<std::string>{Xmap()});
  MessageCentreView centre = Dialogs().LastMessageCentre();
  EXPECT_EQ(centre.variant, 2);
  ASSERT_EQ(centre.warnings.Size(), 1);
  EXPECT_NE(centre.warnings[1].str().find(XmapFile("sZRBstructure")), std::string::npos);
  CADDlgReaper::Flush();

  // With one, the structure is built whatever the verdict slot says.
  WriteStructureFile(Xmap(), "Bracket");
  Start(new ZRBReadCmd(2));
  Loop().RunPending();
  EXPECT_EQ(RootsWithPartNumber("Bracket").size(), 1u);
}

TEST_F(ReadModesTest, TheDirectoryReadFollowsTheChosenDirectory) {
  const std::string chosen = Root() + "/chosen";
  WriteStructureFile(chosen, "Bracket");
  std::ofstream(chosen + "/sZRBstructure", std::ios::app) << "@MARKED_EZRB\n\n";

  auto* read = Start(new ZRBReadCmd(3));
  ASSERT_TRUE(Dialogs().Driver().IsOpen("ZRBReadCmdSelectDir"));
  EXPECT_TRUE(Dialogs().Driver().ChooseFile("ZRBReadCmdSelectDir", CADUnicodeString(chosen)));
  EXPECT_EQ(read->GetState().readMarked, 1) << "the structure file holds marked items";
  EXPECT_EQ(ZRBInfoUtil::GetDataModelValue().str(), "LEGACY_DATA_MODEL");
  Loop().RunPending();
  EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBReadCmdSelectDir"));
  EXPECT_STREQ(g_ZRBConfig.GetEnvVar("ZRBXMAP", 1), chosen.c_str()) << "for the rest of the process";
  EXPECT_EQ(RootsWithPartNumber("Bracket").size(), 1u);
  EXPECT_TRUE(Journal().empty()) << "the PDM is not asked";
}

TEST_F(ReadModesTest, CancellingTheDirectoryDialogEndsTheRead) {
  Start(new ZRBReadCmd(4));
  ASSERT_TRUE(Dialogs().Driver().PressWindowButton("ZRBReadCmdSelectDir", CADDlgEvent::Cancel));
  Loop().RunPending();
  EXPECT_FALSE(Dialogs().Driver().IsOpen("ZRBReadCmdSelectDir"));
  EXPECT_STREQ(g_ZRBConfig.GetEnvVar("ZRBXMAP", 1), Xmap().c_str());
  EXPECT_FALSE(Dialogs().LastMessageCentre().found);
}

TEST_F(ReadModesTest, AWaitingDirectoryReadSurvivesTheEndOfItsWindows) {
  auto* read = Start(new ZRBReadCmd(3));
  CADApplicationFrame::Reset();  // the session closes every window
  read->Cancel(nullptr, nullptr);
  Loop().RunPending();
  EXPECT_TRUE(Journal().empty());
}

}  // namespace
