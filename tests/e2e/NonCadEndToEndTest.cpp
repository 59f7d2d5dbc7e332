// The non-CAD files of an archive read from the reference PDM's bracket, edited through the command's two dialogs as
// a designer would: a file added, one removed, one re-dated on disk; the archive packed next holds what the dialog
// left, and the PDM's unpack check agrees.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "PackedBracket.h"
#include "PdmEndToEndFixture.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBModifyNonCadArchiveCmd.h"
#include "ZRBPropertyManager.h"

namespace {
namespace fs = std::filesystem;

constexpr const char* kDialog = "ZRBNonCadArchiveDialog";
constexpr const char* kAdd = "ZRBAddNonCadArchiveDialog";

class NonCadEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    for (const char* name : {"ZRB_PACK_ARCHIVE_CMD", "ZRB_PACK_ADD_ARCHIVE_CMD"}) SetVariable(name, "zip -0 -q -j");
    GlobArchiveManager.Clear();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad("Bracket"));
    CADFrmEditor::GetCurrentEditor()->GetCSO()->AddElement(CADPathElement{CADBaseUnknown_var(root_)});
    // The bracket as an archive the session knows, with notes.txt stored with it at its current time.
    WriteFile(XmapFile("notes.txt"), "notes");
    WriteFile(XmapFile("calc.txt"), "calc");
    ASSERT_EQ(Pack(), 1);
    ASSERT_EQ(GlobArchiveManager.Read(Name()), 1);
    GlobArchiveManager.AddNonCadObject(Name(), "notes.txt", 0);
    GlobArchiveManager.SetNonCadChanged(Name(), 0);
    ZRBArchiveMembers::SetTimeStampToNonCad(Name(), 1);
    GlobPropertyManager.SetFileProperty(GlobPropertyManager.GetProductFullPath(root_), "ZRB_ARCHIVE_CONTENT_FILE_NAME",
                                        Name());
  }
  void TearDown() override {
    root_ = nullptr;
    GlobArchiveManager.Clear();
    PdmEndToEndFixture::TearDown();
  }
  CADUnicodeString Name() const { return CADUnicodeString(XmapFile("Bracket.xml")); }
  int Pack() { return PackBracket(root_, Xmap()); }
  std::vector<std::string> NonCads() {
    CADListValCADUnicodeString files;
    GlobArchiveManager.GetNonCadFilesInXmap(Name(), files);
    std::vector<std::string> names;
    for (const CADUnicodeString& file : files) names.push_back(file.str());
    return names;
  }
  int Row(const char* dialog, const char* list, const std::string& name) {
    for (int row = 0; row < Dialogs().Driver().GetRowCount(dialog, list); ++row)
      if (Dialogs().Driver().GetCell(dialog, list, row, 0) == name.c_str()) return row;
    return -1;
  }
  void Open() {
    Start(new ZRBModifyNonCadArchiveCmd());
    ASSERT_TRUE(Dialogs().Driver().IsOpen(kDialog));
  }

  CADIProduct_var root_;
};

TEST_F(NonCadEndToEndTest, TheDialogAddsRemovesAndTheNextPackSendsWhatItLeft) {
  CADDialogDriver& driver = Dialogs().Driver();
  // Re-dated on disk: the list says so and the archive counts as changed without any edit.
  fs::last_write_time(XmapFile("notes.txt"), fs::last_write_time(XmapFile("notes.txt")) + std::chrono::hours(1));
  EXPECT_EQ(GlobArchiveManager.GetNonCadChanged(Name()), 1);
  Open();
  ASSERT_EQ(driver.GetRowCount(kDialog, "NonCadFileList"), 1);
  EXPECT_EQ(driver.GetCell(kDialog, "NonCadFileList", 0, 2), "modified");

  // Removed, re-added (it leaves the removal list), removed again; calc.txt added. The add dialog offers no CAD
  // document while its filter is on, and no file the archive lists.
  driver.SelectRows(kDialog, "NonCadFileList", {0});
  driver.Push(kDialog, "ZRBRemoveNonCadFilesButton");
  driver.Push(kDialog, "ZRBAddNonCadFilesButton");
  EXPECT_EQ(Row(kAdd, "NonCadCandidateList", "Bracket.CADProduct"), -1);
  driver.SetCheck(kAdd, "ZRBFilterCadFilesCheck", false);
  EXPECT_EQ(Row(kAdd, "NonCadCandidateList", "Bracket.CADProduct"), -1) << "a member is known to the session";
  driver.SelectRows(kAdd, "NonCadCandidateList",
                    {Row(kAdd, "NonCadCandidateList", "notes.txt"), Row(kAdd, "NonCadCandidateList", "calc.txt")});
  driver.PressWindowButton(kAdd, CADDlgEvent::OK);
  ASSERT_EQ(driver.GetRowCount(kDialog, "NonCadFileList"), 2);
  EXPECT_EQ(driver.GetCell(kDialog, "NonCadFileList", Row(kDialog, "NonCadFileList", "calc.txt"), 2), "new");
  driver.SelectRows(kDialog, "NonCadFileList", {Row(kDialog, "NonCadFileList", "notes.txt")});
  driver.Push(kDialog, "ZRBRemoveNonCadFilesButton");

  // Cancel leaves the archive as it was; OK takes the list.
  driver.PressWindowButton(kDialog, CADDlgEvent::Cancel);
  Loop().RunPending();
  EXPECT_EQ(NonCads(), std::vector<std::string>{"notes.txt"});
  Open();
  driver.SelectRows(kDialog, "NonCadFileList", {0});
  driver.Push(kDialog, "ZRBRemoveNonCadFilesButton");
  driver.Push(kDialog, "ZRBAddNonCadFilesButton");
  driver.SelectRows(kAdd, "NonCadCandidateList", {Row(kAdd, "NonCadCandidateList", "calc.txt")});
  driver.PressWindowButton(kAdd, CADDlgEvent::OK);
  driver.PressWindowButton(kDialog, CADDlgEvent::OK);
  Loop().RunPending();
  EXPECT_EQ(NonCads(), std::vector<std::string>{"calc.txt"});
  EXPECT_EQ(GlobArchiveManager.GetNonCadChanged(Name()), 1);
  EXPECT_NE(CADDocumentServices::GetDocumentInSession(GlobPropertyManager.GetProductFullPath(root_))->IsDirty(), 0u);

  ASSERT_EQ(Pack(), 1);
  const PdmRun check = RunPdm({"archive-check", XmapFile("Bracket.zip")});
  EXPECT_EQ(check.exitCode, 0) << check.out << check.err;
  ASSERT_EQ(std::system(("unzip -Z1 '" + XmapFile("Bracket.zip") + "' > '" + Root() + "/list'").c_str()), 0);
  const std::string packed = ReadFile(Root() + "/list");
  EXPECT_NE(packed.find("calc.txt"), std::string::npos) << packed;
  EXPECT_EQ(packed.find("notes.txt"), std::string::npos) << packed;
}

}  // namespace
