// The structure file of a product structure in the session: a member under a father, a part used twice, positions,
// and the automation's write-archive-XML command next to the root-product file.
#include <gtest/gtest.h>

#include <filesystem>

#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveStructureWriter.h"
#include "ZRBArchiveXml.h"
#include "ZRBWriteArcXMLCmd.h"

namespace {

class ArchiveWriterTest : public CommandFixture {
 protected:
  void TearDown() override {
    GlobArchiveManager.Clear();
    CommandFixture::TearDown();
  }
  SampleSession sample_;
};

TEST_F(ArchiveWriterTest, MemberUnderAFatherWritesEachPartOnceAndReadsBack) {
  const CADIProduct_var assembly = sample_.OpenAssembly();
  ASSERT_TRUE(assembly);
  const CADIProduct_var bracket = sample_.Child(assembly, "Bracket.2");
  ASSERT_TRUE(bracket);
  ProbeCommand command;
  ZRBArchiveStructureWriter writer(command);
  ASSERT_EQ(writer.WriteStructureFile(bracket, "/elsewhere/Bracket.xml", CADUnicodeString(sample_.Directory())), 1);

  const CADUnicodeString path(sample_.Directory() + "/Bracket.xml");
  ZRBArchive archive;
  ASSERT_EQ(ZRBArchiveXml::ParseFile(path.str(), archive), 1);
  EXPECT_TRUE(std::filesystem::exists(sample_.Directory() + "/ZRBArchive.dtd"));
  EXPECT_EQ(archive.root.inAssembly, "1");
  EXPECT_EQ(archive.root.parentPartnumber, "Assembly");
  EXPECT_EQ(archive.root.data.Attribute("FILENAME"), "Bracket.CADProduct");
  ASSERT_EQ(archive.root.children.size(), 3u);
  EXPECT_EQ(archive.root.children[2].childId, "Bolt");
  EXPECT_EQ(archive.root.children[2].instanceName, "Bolt.2");
  EXPECT_FALSE(archive.root.children[2].matrix.empty());
  ASSERT_EQ(archive.parts.size(), 2u) << "Bolt is used twice and written once";
  EXPECT_NE(archive.FindPart("Plate"), nullptr);
  EXPECT_EQ(archive.FindPart("Bolt")->data.Attribute("FILENAME"), "Bolt.CADPart");

  // The non-CAD files the manager knows for the archive are written with it.
  GlobArchiveManager.Put(path, archive);
  GlobArchiveManager.AddNonCadObject(path, "notes.txt", 0);
  ASSERT_EQ(writer.WriteStructureFile(bracket, path, CADUnicodeString(sample_.Directory())), 1);
  ASSERT_EQ(GlobArchiveManager.Read(path), 1);
  CADListValCADUnicodeString files;
  GlobArchiveManager.GetNonCadFilesInXmap(path, files);
  ASSERT_EQ(files.Size(), 1);
  EXPECT_EQ(files[1], "notes.txt");
}

TEST_F(ArchiveWriterTest, WriteArcXmlCommandWritesBesideTheRootFileOrSaysWhy) {
  const struct {
    std::string first;
    const char* warning;
  } cases[] = {
      {sample_.Path("Assembly.CADProduct").str(), nullptr},
      {sample_.Directory() + "/Missing.CADProduct", "Failed to open Root Product file"},
  };
  for (const auto& c : cases) {
    auto* command = new ZRBWriteArcXMLCmd(CADUnicodeString(c.first), CADUnicodeString());
    command->Activate(nullptr, nullptr);
    if (c.warning) {
      ASSERT_EQ(command->GetWarnings().Size(), 1);
      EXPECT_EQ(command->GetWarnings()[1], c.warning);
    } else {
      EXPECT_EQ(command->GetWarnings().Size(), 0);
      EXPECT_TRUE(std::filesystem::exists(sample_.Directory() + "/Assembly.xml"));
    }
    Loop().RunPending();
  }
}

}  // namespace
