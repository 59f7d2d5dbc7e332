// The archive structure file and its DTD as the PDM stores them: written byte for byte, read back to the same
// model, and damaged or hostile files refused whole. The manager's names, add-temporary pairs and non-CAD lists.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "XmapScratchDirectory.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveXml.h"

namespace {
namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

const fs::path kData = fs::path(ZRB_TEST_DATA_DIR) / "archives";

ZRBArchivePartData Data(const std::string& partNumber, const std::string& file) {
  ZRBArchivePartData data;
  data.attributes = {{"PARTNUMBER", partNumber}, {"FILENAME", file}};
  return data;
}

// A product under a father, with one part used twice, a bolt with model infos and features, a design table, a
// non-CAD file in the extra directory, and values holding every character that needs escaping.
ZRBArchive Sample() {
  ZRBArchive archive;
  archive.root.parentPartnumber = "ASM-1 & <Father>";
  archive.root.inAssembly = "1";
  archive.root.data = Data("ROOT-\"1\"", "Root's.CADProduct");
  archive.root.data.attributes.emplace_back("VISFILENAME", "Root.vis");
  archive.root.children = {{"PLATE", "Plate.1", "1 0 0 0 1 0 0 0 1 0 0 0"},
                           {"PLATE", "Plate.2", "1 0 0 0 1 0 0 0 1 10 0 0"},
                           {"BOLT", "Bolt\t1\nx\r", ""}};
  ZRBArchivePart plate{"PLATE", Data("PLATE", "Plate.CADPart"), {}};
  ZRBArchivePart bolt{"BOLT", Data("BOLT", "Bolt.CADPart"), {}};
  bolt.data.hasModelInfos = true;
  bolt.data.modelInfos = {{"MODEL_MASS", "1.5"}, {"MODEL_MATERIAL", "St 37 > St 35"}};
  bolt.data.hasFeatureList = true;
  bolt.data.features = {{{{"FEATURE_TYPE", "Hole"},
                          {"CLIENT_ID", "7"},
                          {"CONTAINER_ID", "1"},
                          {"FEATURE_ATTR", "Dia"},
                          {"FEATURE_VALUE", "8 mm"}}}};
  archive.parts = {plate, bolt};
  archive.tables = {{"Sizes.xls", {{"FILENAME", "Sizes.xls"}}}};
  archive.nonCads = {{"Notes & Specs.pdf", true, {{"FILENAME", "Notes & Specs.pdf"}}}};
  return archive;
}

TEST(ArchiveXmlTest, DtdAndStructureFileAreWrittenByteExactAndReadBack) {
  EXPECT_EQ(ZRBArchiveXml::DtdText(), Slurp(kData / "ZRBArchive.dtd"));
  const std::string golden = Slurp(kData / "Product.xml");
  ASSERT_FALSE(golden.empty());
  EXPECT_EQ(ZRBArchiveXml::Write(Sample()), golden);
  ZRBArchive read;
  ASSERT_EQ(ZRBArchiveXml::ParseText(golden, read), 1);
  EXPECT_TRUE(read.SameContent(Sample()));
  EXPECT_EQ(ZRBArchiveXml::Write(read), golden);
}

TEST(ArchiveXmlTest, ValuesXmlCannotCarryAreMendedOnWrite) {
  ZRBArchive archive;
  archive.root.data = Data(
      "A\x01"
      "B\x1f",
      "bad\xff.CADPart");
  ZRBArchive read;
  ASSERT_EQ(ZRBArchiveXml::ParseText(ZRBArchiveXml::Write(archive), read), 1);
  EXPECT_EQ(read.root.data.Attribute("PARTNUMBER"), "AB");
  EXPECT_EQ(read.root.data.Attribute("FILENAME"), "bad\xEF\xBF\xBD.CADPart");
}

TEST(ArchiveXmlTest, DamagedAndHostileFilesAreRefusedWhole) {
  const std::string head = "<?xml version=\"1.0\"?><ZRBArchive>";
  const std::string root = "<Root><PartData><AttributeList/></PartData><Children/></Root>";
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"empty", ""},
      {"not XML", "PARTNUMBER=1"},
      {"cut short", head + "<Root><PartData><AttributeList><Attribute Name=\"PARTNUMBER\">1"},
      {"other document", "<Archive>" + root + "</Archive>"},
      {"no root", head + "</ZRBArchive>"},
      {"second root", head + root + root + "</ZRBArchive>"},
      {"child outside children", head + "<Root><Child ChildId=\"x\" InstanceName=\"y\"/></Root></ZRBArchive>"},
      {"attribute without list",
       head + "<Root><PartData><Attribute Name=\"A\">v</Attribute></PartData></Root></ZRBArchive>"},
      {"attribute in an unknown element", head + "<Root><Junk><Attribute Name=\"A\"/></Junk></Root></ZRBArchive>"},
      {"part inside root", head + "<Root><Part Id=\"1\"/></Root></ZRBArchive>"},
      {"feature outside list", head + "<Root><PartData><Feature/></PartData></Root></ZRBArchive>"},
      {"second part data", head + "<Root><PartData/><PartData/></Root></ZRBArchive>"},
      {"table data in a part", head + root + "<Part Id=\"1\"><TableData/></Part></ZRBArchive>"},
      {"nested archive", head + "<ZRBArchive/>" + root + "</ZRBArchive>"},
      {"undefined entity", head + "<Root ParentPartnumber=\"&evil;\"/></ZRBArchive>"},
  };
  for (const auto& c : cases) {
    ZRBArchive archive = Sample();
    EXPECT_EQ(ZRBArchiveXml::ParseText(c.text, archive), 0) << c.what;
    EXPECT_TRUE(archive.SameContent(Sample())) << c.what;
  }
}

class ArchiveManagerTest : public ::testing::Test {
 protected:
  void SetUp() override { GlobArchiveManager.Clear(); }
  void TearDown() override { GlobArchiveManager.Clear(); }
  CADUnicodeString Put(const std::string& name, const std::string& text) {
    return CADUnicodeString(dir_.Write(name, text));
  }
  XmapScratchDirectory dir_;
};

TEST_F(ArchiveManagerTest, ReadingAgainReplacesAndNamesAreNormalised) {
  const CADUnicodeString path = Put("A.xml", ZRBArchiveXml::Write(Sample()));
  const CADUnicodeString sloppy(dir_.Root() + "//A.xml");
  ASSERT_EQ(GlobArchiveManager.Read(sloppy), 1);
  EXPECT_EQ(GlobArchiveManager.GetRootPartNumber(path), "ROOT-\"1\"");

  ZRBArchive changed = Sample();
  changed.root.data.attributes[0].second = "ROOT-2";
  Put("A.xml", ZRBArchiveXml::Write(changed));
  ASSERT_EQ(GlobArchiveManager.Read(path), 1);
  CADListValCADUnicodeString names;
  GlobArchiveManager.GetArchiveNameList(names);
  EXPECT_EQ(names.Size(), 1);
  EXPECT_EQ(GlobArchiveManager.GetRootPartNumber(sloppy), "ROOT-2");

  // A damaged file leaves nothing under its name, not the stale archive.
  Put("A.xml", "<ZRBArchive><Root>");
  EXPECT_EQ(GlobArchiveManager.Read(path), 0);
  EXPECT_EQ(GlobArchiveManager.ArchiveLoaded(path), 0);
}

TEST_F(ArchiveManagerTest, ReadTempPairsEveryDeliveredFileAndRefusesHostileNames) {
  ZRBArchive archive = Sample();
  archive.parts.push_back({"EVIL", Data("EVIL", "../../etc/evil.CADPart"), {}});
  archive.parts.push_back({"DOT", Data("DOT", ".."), {}});
  archive.nonCads.push_back({"x", false, {{"FILENAME", "sub/readme.txt"}}});
  const CADUnicodeString path = Put("A.xml", ZRBArchiveXml::Write(archive));
  const std::string xmap = dir_.MakeDirectory("xmap");
  CADListValCADUnicodeString sources, targets;
  ASSERT_EQ(
      GlobArchiveManager.ReadTemp(path, "T1_", sources, targets, CADUnicodeString(xmap), CADUnicodeString("/extra")),
      1);
  const std::string from = dir_.Root() + "/";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {from + "Notes & Specs.pdf", "/extra/T1_Notes & Specs.pdf"}, {from + "readme.txt", xmap + "/T1_readme.txt"},
      {from + "Plate.CADPart", xmap + "/T1_Plate.CADPart"},        {from + "Bolt.CADPart", xmap + "/T1_Bolt.CADPart"},
      {from + "evil.CADPart", xmap + "/T1_evil.CADPart"},          {from + "A.xml", xmap + "/T1_A.xml"},
      {from + "ZRBArchive.dtd", xmap + "/ZRBArchive.dtd"},
  };
  ASSERT_EQ(sources.Size(), static_cast<int>(expected.size()));
  for (int i = 1; i <= sources.Size(); ++i) {
    EXPECT_EQ(sources[i].str(), expected[i - 1].first);
    EXPECT_EQ(targets[i].str(), expected[i - 1].second);
  }
  const CADUnicodeString renamed((xmap + "/T1_A.xml"));
  EXPECT_EQ(GlobArchiveManager.ArchiveLoaded(path), 0);
  EXPECT_EQ(GlobArchiveManager.IsAddTempArchive(renamed), 1);
  EXPECT_EQ(GlobArchiveManager.GetRootAttribute(renamed, "FILENAME"), "T1_Root's.CADProduct");

  archive.root.data.attributes[0].second = "A/B";
  const CADUnicodeString bad = Put("B.xml", ZRBArchiveXml::Write(archive));
  EXPECT_EQ(GlobArchiveManager.ReadTemp(bad, "T2_", sources, targets, CADUnicodeString(xmap), CADUnicodeString("/e")),
            0);
  EXPECT_EQ(GlobArchiveManager.ArchiveLoaded(bad), 0);
}

TEST(ArchiveManagerNonCadTest, AnAddTemporaryArchiveNamesBothKindsOfFileWithItsPrefix) {
  ZRBArchive archive;
  archive.nonCads = {{"a.txt", true, {{"FILENAME", "a.txt"}}},
                     {"b.txt", false, {{"FILENAME", "b.txt"}}},
                     {"c.txt", false, {{"FILENAME", "c.txt"}}},
                     {"empty", false, {}}};
  for (const bool addTemp : {false, true}) {
    archive.addTemp = addTemp;
    archive.addTempPrefix = "T1_";
    GlobArchiveManager.Put("/x/A.xml", archive);
    CADListValCADUnicodeString extra, xmap;
    GlobArchiveManager.GetNonCadFilesInExtraDir("/x/A.xml", extra);
    GlobArchiveManager.GetNonCadFilesInXmap("/x/A.xml", xmap);
    const std::string prefix = addTemp ? "T1_" : "";
    ASSERT_EQ(extra.Size(), 1);
    EXPECT_EQ(extra[1].str(), prefix + "a.txt");
    ASSERT_EQ(xmap.Size(), 2) << "an entry without a file name is skipped";
    EXPECT_EQ(xmap[1].str(), prefix + "c.txt");
    EXPECT_EQ(xmap[2].str(), prefix + "b.txt");
  }
  GlobArchiveManager.Clear();
}

}  // namespace
