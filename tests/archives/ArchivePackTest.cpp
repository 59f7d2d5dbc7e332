// Packing an archive and unpacking a delivered one: the lines the external commands get (every path one quoted
// word, split under the limit), how their exit status is judged, and a real round trip through zip and unzip.
// The structure file written from a session structure, and the automation's write-archive-XML command.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "CommandFixture.h"
#include "ProbeCommand.h"
#include "SampleSession.h"
#include "XmapScratchDirectory.h"
#include "ZRBAnswerArchives.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchivePacker.h"
#include "ZRBArchiveStructureWriter.h"
#include "ZRBArchiveXml.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBWriteArcXMLCmd.h"

namespace {

class ArchivePackTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    xmapVariable_ = std::make_unique<XmapScopedVariable>("ZRBXMAP", xmap_.MakeDirectory("xmap").c_str());
    SetVariable("ZRB_PACK_ARCHIVE_CMD", "zip -0 -q -j");
    SetVariable("ZRB_PACK_ADD_ARCHIVE_CMD", "zip -0 -q -j");
    SetVariable("ZRB_UNPACK_ARCHIVE_CMD", "unzip -o -j -q -d");
    GlobArchiveManager.Clear();
  }
  void TearDown() override {
    GlobArchiveManager.Clear();
    for (const char* name : {"ZRB_PACK_ARCHIVE_CMD", "ZRB_PACK_ADD_ARCHIVE_CMD", "ZRB_UNPACK_ARCHIVE_CMD",
                             "ZRB_PACK_ARCHIVE_MAX_COMMANDLINE"})
      SetVariable(name, "");
    xmapVariable_.reset();
    CommandFixture::TearDown();
  }
  int Pack(const CADListValCADUnicodeString& members) {
    ProbeCommand command;
    return ZRBArchivePacker(command).PackFilesToArchive(CADUnicodeString(xmap_.Path("xmap/A.zip")),
                                                        CADUnicodeString(xmap_.Path("xmap/A.xml")), members);
  }
  XmapScratchDirectory xmap_;
  std::unique_ptr<XmapScopedVariable> xmapVariable_;
};

TEST_F(ArchivePackTest, LinesQuoteEveryPathAndStayUnderTheLimit) {
  const std::string x = xmap_.Path("xmap") + "/";
  CADListValCADUnicodeString members;
  for (const char* name : {"it's.CADPart", "$(touch evil).CADPart", "a b.CADPart"})
    members.Append(CADUnicodeString(x + name));
  const std::string head = "zip -0 -q -j '" + x + "A.zip' '" + x + "A.xml' '" + x + "ZRBArchive.dtd'";
  ASSERT_EQ(Pack(members), 1);
  ASSERT_EQ(ShellLines().size(), 1u);
  EXPECT_EQ(ShellLines()[0],
            head + " '" + x + "it'\\''s.CADPart' '" + x + "$(touch evil).CADPart' '" + x + "a b.CADPart'");

  ClearShellLines();
  SetVariable("ZRB_PACK_ARCHIVE_MAX_COMMANDLINE", std::to_string(head.size() + 2).c_str());
  ASSERT_EQ(Pack(members), 1);
  ASSERT_EQ(ShellLines().size(), 4u) << "the first line holds the structure file and the DTD only";
  EXPECT_EQ(ShellLines()[0], head);
  EXPECT_EQ(ShellLines()[3], "zip -0 -q -j '" + x + "A.zip' '" + x + "a b.CADPart'");

  ClearShellLines();
  SetVariable("ZRB_PACK_ARCHIVE_MAX_COMMANDLINE", "12k");
  EXPECT_EQ(Pack(members), 0);
  EXPECT_TRUE(ShellLines().empty());
  SetVariable("ZRB_PACK_ARCHIVE_MAX_COMMANDLINE", "999999999");
  EXPECT_EQ(ZRBArchivePacker::LineLimit(), 131072 - 512);
}

TEST_F(ArchivePackTest, PackedArchiveUnpacksIntoAFreshExchangeMap) {
  UseRealShell();
  ZRBArchive archive;
  archive.root.data.attributes = {{"PARTNUMBER", "ROOT"}, {"FILENAME", "Root.CADProduct"}};
  archive.parts = {{"P", {{{"PARTNUMBER", "P"}, {"FILENAME", "it's P.CADPart"}}, {}, {}, false, false}, {}}};
  xmap_.Write("xmap/A.xml", ZRBArchiveXml::Write(archive));
  xmap_.Write("xmap/ZRBArchive.dtd", ZRBArchiveXml::DtdText());
  CADListValCADUnicodeString members;
  members.Append(CADUnicodeString(xmap_.Write("xmap/Root.CADProduct", "root")));
  members.Append(CADUnicodeString(xmap_.Write("xmap/it's P.CADPart", "part")));
  ASSERT_EQ(Pack(members), 1);

  const std::string fresh = xmap_.MakeDirectory("fresh");
  ProbeCommand command;
  ZRBArchivePacker packer(command);
  const CADUnicodeString zip(xmap_.Path("xmap/A.zip")), structure(fresh + "/A.xml");
  ASSERT_EQ(packer.ProcessArchiveForRead(zip, CADUnicodeString(fresh), structure, CADUnicodeString(fresh), "0",
                                         structure, ""),
            1);
  EXPECT_EQ(xmap_.Read("fresh/it's P.CADPart"), "part");
  EXPECT_EQ(GlobArchiveManager.GetPartPartNumber(structure, "P"), "P");

  // Add-temporary: the part goes to its prefixed name in the exchange map, the product stays.
  const std::string temp = xmap_.MakeDirectory("temp");
  ASSERT_EQ(packer.ProcessArchiveForRead(zip, CADUnicodeString(temp), structure, CADUnicodeString(fresh), "1",
                                         CADUnicodeString(temp + "/A.xml"), "T_"),
            1);
  EXPECT_EQ(xmap_.Read("fresh/T_it's P.CADPart"), "part");
  EXPECT_TRUE(xmap_.Exists("fresh/T_A.xml"));
  EXPECT_TRUE(xmap_.Exists("temp/Root.CADProduct"));
  EXPECT_EQ(command.GetWarnings().Size(), 0);

  // A read answer names the archive; the read unpacks it into its own exchange map.
  const std::string answerMap = xmap_.MakeDirectory("answer");
  std::filesystem::copy_file(xmap_.Path("xmap/A.zip"), answerMap + "/A.zip");
  XmapScopedVariable answerXmap("ZRBXMAP", answerMap.c_str());
  ZRBObjectManager answer;
  ZRBObject* object = answer.CreateObject("ARC_1");
  object->SetSlotValue("CADCLASSNAME", "ZRBArchive");
  object->SetSlotValue("ARCHIVE_FILE", "../xmap/A.zip");
  object->SetSlotValue("CONTENT_FILE_NAME", "A");
  EXPECT_EQ(ZRBAnswerArchives::ProcessAllArchives(command, answer, 0, CADUnicodeString()), 1);
  EXPECT_EQ(xmap_.Read("answer/Root.CADProduct"), "root");
  EXPECT_EQ(GlobArchiveManager.GetRootPartNumber(CADUnicodeString(answerMap + "/A.xml")), "ROOT");

  EXPECT_EQ(packer.ProcessArchiveForRead(CADUnicodeString(xmap_.Path("xmap/none.zip")), CADUnicodeString(fresh),
                                         structure, CADUnicodeString(fresh), "0", structure, ""),
            0);
}

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
