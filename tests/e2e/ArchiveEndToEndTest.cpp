// An archive's round trip through the reference PDM: the bracket (two parts, the plate's design table) is packed
// from the session, the PDM unpacks it and checks that it holds what its structure file names, validates it by
// its rules, keeps it, and delivers it back to a fresh session's read.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CADDocumentServices.h"
#include "CADIPrdProperties.h"
#include "PackedBracket.h"
#include "PdmEndToEndFixture.h"
#include "ProbeCommand.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveMembers.h"
#include "ZRBArchivePdmValidation.h"
#include "ZRBInfoUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBUpdateCmd.h"

namespace {

class ArchiveEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    for (const char* name : {"ZRB_PACK_ARCHIVE_CMD", "ZRB_PACK_ADD_ARCHIVE_CMD"}) SetVariable(name, "zip -0 -q -j");
    SetVariable("ZRB_UNPACK_ARCHIVE_CMD", "unzip -o -j -q -d");
    GlobArchiveManager.Clear();
    ImportSampleSession();
    ASSERT_TRUE(root_ = LoadIntoCad("Bracket"));
    ZRBInfoUtil::WorkWithDesignTables();  // the PDM's settings, asked once per session
    Pdm("journal", "clear");
  }
  void TearDown() override {
    root_ = nullptr;
    GlobArchiveManager.Clear();
    PdmEndToEndFixture::TearDown();
  }

  // The bracket's members saved into the exchange map, its structure file written and all packed.
  int Pack() { return PackBracket(root_, Xmap()); }
  // What the PDM says of an archive: exit status and report.
  PdmRun Check(const std::string& zip) { return RunPdm({"archive-check", zip}); }
  int Validate(ProbeCommand& command) { return ZRBArchivePdmValidation::ValidateArchive(command, root_, 1); }

  CADIProduct_var root_;
};

TEST_F(ArchiveEndToEndTest, ThePdmUnpacksTheArchiveAndFindsWhatItsStructureFileNames) {
  ASSERT_EQ(Pack(), 1);
  const PdmRun whole = Check(XmapFile("Bracket.zip"));
  EXPECT_EQ(whole.exitCode, 0) << whole.out;
  for (const char* line : {"structure file: Bracket.xml", "member: Bracket.CADProduct", "member: Plate.CADPart",
                           "member: Bolt.CADPart", "member: PlateSizes.xls"})
    EXPECT_NE(whole.out.find(line), std::string::npos) << line << "\n" << whole.out;

  // Damaged archives: each is refused with its reason, none is kept.
  const std::string damagedXml = Root() + "/Bracket.xml";
  WriteFile(damagedXml, "<?xml version=\"1.0\"?><ZRBArchive><Root><Child></ZRBArchive>");
  const struct {
    std::string change;
    const char* problem;
  } cases[] = {
      {"zip -q -d '%s' Bolt.CADPart", "names Bolt.CADPart, which the archive does not hold"},
      {"zip -q -d '%s' ZRBArchive.dtd", "holds no ZRBArchive.dtd"},
      {"zip -q -j '%s' '" + damagedXml + "'", "is damaged"},
      {"echo junk > '%s'", "cannot be unpacked"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    const std::string copy = Root() + "/damaged" + std::to_string(++n) + ".zip";
    std::filesystem::copy_file(XmapFile("Bracket.zip"), copy);
    std::string line = c.change;
    line.replace(line.find("%s"), 2, copy);
    ASSERT_EQ(std::system(line.c_str()), 0);
    const PdmRun run = Check(copy);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find(c.problem), std::string::npos) << run.out;
    EXPECT_NE(RunPdm({"archive-store", "Bracket", copy}).exitCode, 0);
  }
}

TEST_F(ArchiveEndToEndTest, ThePdmValidatesByItsRulesAndOnlyWhenSwitchedOn) {
  ProbeCommand off;
  EXPECT_EQ(Validate(off), 1);
  EXPECT_TRUE(JournalActions().empty()) << "no request while validation is switched off";

  SetVariable("ZRB_ENABLE_ARCHIVE_VALIDATION", "ON");
  ProbeCommand pass;
  EXPECT_EQ(Validate(pass), 1);
  ASSERT_EQ(JournalActions(), (std::vector<std::string>{"x3ValidateArchive"}));
  const std::string request = JournalRequest(Journal().back().seq);
  for (const char* slot : {"CREATEARCHIVE", "PARENT_PARTNUMBER", "Plate.CADPart", "Bolt.CADPart", "PlateSizes.xls"})
    EXPECT_NE(request.find(slot), std::string::npos) << slot;
  EXPECT_NE(Journal().back().args.back().find("vfile.zrb"), std::string::npos);

  Pdm("settings", "set", "archive.refuse_parts", "Bolt");
  ProbeCommand fail;
  EXPECT_EQ(Validate(fail), 0);
  ASSERT_EQ(fail.GetWarnings().Size(), 2) << "one message per refused member: the bracket holds two bolts";
  for (int i = 1; i <= 2; ++i) EXPECT_NE(std::string(fail.GetWarnings()[i].str()).find("Bolt"), std::string::npos);
}

TEST_F(ArchiveEndToEndTest, AReadDeliversTheKeptArchiveIntoAFreshSession) {
  ASSERT_EQ(Pack(), 1);
  Pdm("archive-store", "Bracket", XmapFile("Bracket.zip"));
  const std::string fresh = Root() + "/fresh";
  std::filesystem::create_directories(fresh + "/xmap");
  WriteFile(fresh + "/read.zrbs", "shell pdmsim load-into-cad Bracket\nwait idle 30\n");
  const ToolRun run = RunBuiltTool("zrbsession",
                                   {"--xmap", fresh + "/xmap", "--settings", fresh + "/settings", "--workdir", fresh,
                                    "--script", fresh + "/read.zrbs"},
                                   {{"ZRB_UNPACK_ARCHIVE_CMD", "unzip -o -j -q -d"}});
  ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
  for (const char* name : {"Bracket.zip", "Bracket.xml", "ZRBArchive.dtd"})
    EXPECT_TRUE(Exists(fresh + "/xmap/" + name)) << name;
  EXPECT_EQ(ReadFile(fresh + "/xmap/Bracket.xml"), ReadFile(XmapFile("Bracket.xml")));
}

// Read back, the archive is the session's again: its root is an archive root with the PDM's identity, and a
// changed member makes the next update pack it anew.
TEST_F(ArchiveEndToEndTest, AReadArchiveRootIsAnArchiveRootAgain) {
  ASSERT_EQ(Pack(), 1);
  Pdm("archive-store", "Bracket", XmapFile("Bracket.zip"));
  root_ = nullptr;
  GlobArchiveManager.Clear();
  CADDocumentServices::ResetSession();
  for (const char* name : {"Bracket.zip", "Bracket.xml", "ZRBArchive.dtd"}) std::filesystem::remove(XmapFile(name));
  ASSERT_TRUE(root_ = LoadIntoCad("Bracket"));
  const CADUnicodeString path = GlobPropertyManager.GetProductFullPath(root_);
  EXPECT_TRUE(GlobPropertyManager.IsArchiveRoot(root_));
  EXPECT_FALSE(GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_OBID").IsEmpty());
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_ROOT_PN"), "Bracket");
  EXPECT_TRUE(
      GlobArchiveManager.ArchiveLoaded(GlobPropertyManager.GetFileProperty(path, "ZRB_ARCHIVE_CONTENT_FILE_NAME")));

  std::filesystem::remove(XmapFile("Bracket.zip"));
  CADIProduct_var plate;
  for (const CADBaseUnknown_var& item : root_->GetChildren())
    if (CADIProduct_var child(item); child && child->GetPartNumber() == "Plate") plate = child;
  ASSERT_TRUE(plate);
  CADIPrdProperties_var(plate->GetReferenceProduct())->SetDescription("revised");
  Pdm("journal", "clear");
  auto* update = new ZRBUpdateCmd();
  update->SetSupressInteraction(1);
  Start(update);
  Loop().RunPending();
  EXPECT_TRUE(Exists(XmapFile("Bracket.zip"))) << "the changed archive is packed anew";
  ASSERT_FALSE(Journal().empty());
  EXPECT_NE(JournalRequest(Journal().front().seq).find("Bracket.zip"), std::string::npos);
}

}  // namespace
