#include <unistd.h>

#include "CADXMLSAX.h"
#include "PropsTestSupport.h"
#include "ZRBPropertyManagerWriter.h"
#include "ZRBSAXDocumentHandler.h"

using Field = ZRBPropertyReference::Field;

namespace {
// Values a designer or PDM can really produce, and that once broke the file.
const char* const kAwkward[] = {
    "a & b",          "<tag>",      "say \"hi\"", "it's", "Grüße/Øre/日本",
    "line1\r\nline2", "col1\tcol2", "  padded  ", "",     "]]> end",
};

void Populate(ZRBPropertyManager& m) {
  m.SetGlobalProperty("ZRB_CONNECTION_CMD", "pdmcl -b --");
  int i = 0;
  for (const char* value : kAwkward) {
    CADUnicodeString pn = CADUnicodeString::BuildFromNum("PN&<%d>", i);
    m.SetReferenceProperty(pn, "ZRB_OBID", value);
    ZRBPropertyReference* r = m.GetReferenceObject(pn);
    for (Field field : ZRBPropertyReference::AllFields())
      if (field != Field::PartNumber)
        r->Set(field, CADUnicodeString(value) + CADUnicodeString(ZRBPropertyReference::FieldName(field)));
    r->SetPropertySetFlag(i % 2 == 0);
    r->BlackBoxRoots().Append(CADUnicodeString("/bb/") + value);
    r->BlackBoxItems().Append("/bb/item one");
    r->BlackBoxItems().Append(CADUnicodeString("/bb/") + value + "2");
    m.SetFileProperty(CADUnicodeString::BuildFromNum("/x/f%d 'q'.CADPart", i), "ZRB_LAST_KNOWN_MOD_TIME", value);
    m.SetInstanceProperty(pn, CADUnicodeString(value) + ".1", "ZRB_RELATION", value);
    m.GetInstanceObject(pn, CADUnicodeString(value) + ".1")->SetChildId(i + 1);
    m.SetPathToRootProperty(CADUnicodeString("/Root.1/") + value, "ZRB_SAVE", value);
    ++i;
  }
  // An Id far above the rest, left by a record that was removed.
  m.GetReferenceObject("PN&<0>")->SetId(40);
}

// Every record in the written form (which carries every field, list, Id and the order: see the exact layout
// below), the process's global values aside: a read keeps those of the running process.
std::string RecordsOf(const ZRBPropertyManager& m) {
  std::string text = m.WriteText("pm.dtd");
  const size_t from = text.find("<GlobalList>"), to = text.find("</GlobalList>");
  return from == std::string::npos || to == std::string::npos ? text : text.erase(from, to - from);
}
}  // namespace

TEST_F(PropsTest, RoundTripKeepsEveryRecordAndIdWithAwkwardText) {
  Populate(manager);
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  ZRBPropertyManager restored;
  restored.SetGlobalProperty("ZRB_MESSAGE_PREFIX", "SAM");
  ASSERT_EQ(restored.Read(PathIn("pm.xml")), 1);
  EXPECT_EQ(RecordsOf(restored), RecordsOf(manager));
  // New Ids start above everything the file brought.
  EXPECT_EQ(restored.GetNewId(), 41);
  // Lookups work on what was read (keys rehashed).
  EXPECT_EQ(restored.GetReferenceProperty("PN&<4>", "ZRB_OBID"), CADUnicodeString("Grüße/Øre/日本"));
  EXPECT_EQ(restored.GetFileProperty("/x/f5 'q'.CADPart", "ZRB_LAST_KNOWN_MOD_TIME"),
            CADUnicodeString("line1\r\nline2"));
  EXPECT_EQ(restored.GetInstanceProperty("PN&<6>", "col1\tcol2.1", "ZRB_RELATION"), CADUnicodeString("col1\tcol2"));
}

TEST_F(PropsTest, ReadKeepsTheRunningProcesssGlobalValues) {
  manager.SetGlobalProperty("ZRB_CONNECTION_CMD", "rm -rf / #");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  GlobPropertyManager.SetGlobalProperty("ZRB_CONNECTION_CMD", "pdmcl -b --");
  GlobPropertyManager.SetGlobalProperty("ZRB_MESSAGE_PREFIX", "");
  ASSERT_EQ(GlobPropertyManager.Read(PathIn("pm.xml")), 1);
  EXPECT_EQ(GlobPropertyManager.GetGlobalProperty("ZRB_CONNECTION_CMD"), CADUnicodeString("pdmcl -b --"));
  EXPECT_EQ(GlobPropertyManager.IsGlobalPropertySet("ZRB_MESSAGE_PREFIX"), 1);
}

TEST_F(PropsTest, WrittenLayoutIsExact) {
  manager.SetGlobalProperty("ZRB_MESSAGE_PREFIX", "");
  manager.SetReferenceProperty("P&1", "ZRB_OBID", "\"x\"");
  manager.GetReferenceObject("P&1")->BlackBoxItems().Append("/i");
  manager.SetFileProperty("/f", "ZRB_TYPE", "t");
  manager.SetInstanceProperty("P&1", "C.1", "ZRB_RELATION", "r");
  manager.SetPathToRootProperty("/R.1", "ZRB_SAVE", "1");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("sub/../pm.dtd")), 1);
  std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE ZRBPropertyManager SYSTEM \"pm.dtd\">\n"
      "<ZRBPropertyManager ProcessId = \"" +
      std::to_string(::getpid()) +
      "\">\n"
      "  <GlobalList>\n    <Global>\n      <Property>\n        <Name>ZRB_MESSAGE_PREFIX</Name>\n"
      "        <Value></Value>\n      </Property>\n    </Global>\n  </GlobalList>\n"
      "  <ReferenceList>\n    <Reference>\n      <Id>1</Id>\n      <PropertySet>false</PropertySet>\n"
      "      <FullPath></FullPath>\n      <PartNumber>P&amp;1</PartNumber>\n      <Nomenclature></Nomenclature>\n"
      "      <Revision></Revision>\n      <Definition></Definition>\n      <Description></Description>\n"
      "      <ContainerIdsList></ContainerIdsList>\n      <ClientIdsList></ClientIdsList>\n"
      "      <FeatureTypesList></FeatureTypesList>\n      <FeatureAttrsList></FeatureAttrsList>\n"
      "      <FeatureValuesList></FeatureValuesList>\n      <UserDefDisplaysList></UserDefDisplaysList>\n"
      "      <UserDefPropertiesList></UserDefPropertiesList>\n      <UserDefPropValuesList></UserDefPropValuesList>\n"
      "      <UserDefPropDelList></UserDefPropDelList>\n      <BlackBoxRoots>\n      </BlackBoxRoots>\n"
      "      <BlackBoxItems>\n        <ItemFullPath>/i</ItemFullPath>\n      </BlackBoxItems>\n"
      "      <Property>\n        <Name>ZRB_OBID</Name>\n        <Value>&quot;x&quot;</Value>\n      </Property>\n"
      "    </Reference>\n  </ReferenceList>\n"
      "  <FileList>\n    <File>\n      <FileFullPath>/f</FileFullPath>\n      <Property>\n"
      "        <Name>ZRB_TYPE</Name>\n        <Value>t</Value>\n      </Property>\n    </File>\n  </FileList>\n"
      "  <InstanceList>\n    <Instance>\n      <ParentId>1</ParentId>\n      "
      "<ChildInstanceName>C.1</ChildInstanceName>\n"
      "      <ChildId>0</ChildId>\n      <Property>\n        <Name>ZRB_RELATION</Name>\n        <Value>r</Value>\n"
      "      </Property>\n    </Instance>\n  </InstanceList>\n"
      "  <PathToRootList>\n    <PathToRoot>\n      <PathToRootString>/R.1</PathToRootString>\n      <Property>\n"
      "        <Name>ZRB_SAVE</Name>\n        <Value>1</Value>\n      </Property>\n    </PathToRoot>\n"
      "  </PathToRootList>\n</ZRBPropertyManager>\n";
  EXPECT_EQ(Slurp(PathIn("pm.xml")), expected);
}

TEST(ZRBPropertyManagerWriter, EscapesMarkupAndKeepsTheFileReadable) {
  struct Case {
    std::string in;
    std::string out;
  } cases[] = {
      {"a&b<c>d'e\"f", "a&amp;b&lt;c&gt;d&apos;e&quot;f"},
      {"cr\rlf\ntab\t", "cr&#13;lf&#10;tab&#9;"},
      {std::string("nul\0bell\a", 9), "nulbell"},  // other control characters are dropped
      {"Grüße 日本 \xF0\x9F\x99\x82", "Grüße 日本 \xF0\x9F\x99\x82"},
      {"bad\xC3", "bad\xEF\xBF\xBD"},                            // cut sequence
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                  // overlong form
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
      {"\xEF\xBF\xBE", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // U+FFFE is no XML character
  };
  for (const Case& c : cases) EXPECT_EQ(ZRBPropertyManagerWriter::EscapeString(c.in).str(), c.out) << c.in;
  EXPECT_EQ(ZRBPropertyManager::EscapeString("<&>"), CADUnicodeString("&lt;&amp;&gt;"));
}

TEST_F(PropsTest, ValuesWithBadBytesDoNotCostLaterRecords) {
  manager.SetReferenceProperty("A", "ZRB_OBID", std::string("x\x01y\xFFz", 5));
  manager.SetReferenceProperty("B", "ZRB_OBID", "after");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  ZRBPropertyManager restored;
  ASSERT_EQ(restored.Read(PathIn("pm.xml")), 1);
  EXPECT_EQ(restored.GetReferenceProperty("A", "ZRB_OBID"), CADUnicodeString("xy\xEF\xBF\xBDz"));
  EXPECT_EQ(restored.GetReferenceProperty("B", "ZRB_OBID"), CADUnicodeString("after"));
}

TEST_F(PropsTest, DamagedOrMissingFileReturnsZeroKeepingWhatPrecedes) {
  for (int i = 0; i < 3; ++i) manager.SetReferenceProperty(CADUnicodeString::BuildFromNum("PN%d", i), "ZRB_OBID", "o");
  manager.SetFileProperty("/f", "ZRB_TYPE", "t");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  std::string whole = Slurp(PathIn("pm.xml"));
  // Cut inside the third reference: the first two are complete.
  size_t third = whole.find("<PartNumber>PN2</PartNumber>");
  ASSERT_NE(third, std::string::npos);
  Spit(PathIn("cut.xml"), whole.substr(0, third + 15));

  ZRBPropertyManager restored;
  restored.SetReferenceProperty("STALE", "ZRB_OBID", "dropped by the read");
  EXPECT_EQ(restored.Read(PathIn("cut.xml")), 0);
  ASSERT_EQ(restored.Store().References().size(), 2u);
  EXPECT_EQ(restored.GetReferenceProperty("PN1", "ZRB_OBID"), CADUnicodeString("o"));
  EXPECT_EQ(restored.GetReferenceObject("STALE"), nullptr);
  EXPECT_TRUE(restored.Store().Files().empty());
  EXPECT_EQ(restored.GetNewId(), 3);  // above the Ids read

  EXPECT_EQ(restored.Read(PathIn("missing.xml")), 0);
  EXPECT_TRUE(restored.Store().References().empty());
}

TEST_F(PropsTest, TextInPiecesAndWhitespaceBetweenElementsStayOut) {
  std::string xml =
      "<ZRBPropertyManager ProcessId = \"77\">\n<ReferenceList>\n  <Reference>\n    <Id>  12 </Id>\n"
      "    <PartNumber>A&amp;B</PartNumber>\n    <UserDefPropertiesList>{p1}{p2}</UserDefPropertiesList>\n"
      "    <BlackBoxRoots>\n      <RootFullPath>/r</RootFullPath>\n    </BlackBoxRoots>\n"
      "    <Property>\n      <Name>ZRB_OBID</Name>\n      <Value>v\nw</Value>\n    </Property>\n"
      "  </Reference>\n</ReferenceList>\n</ZRBPropertyManager>\n";
  CADIXMLSAXFactory_var factory;
  ASSERT_EQ(CreateCADIXMLSAXFactory(factory), S_OK);
  for (size_t piece : {size_t(0), size_t(1), size_t(3)}) {
    SCOPED_TRACE(piece);
    manager.Initialize();
    CADIXMLSAXParser_var parser;
    ASSERT_EQ(factory->CreateParser(parser), S_OK);
    auto handler = CADVar<ZRBSAXDocumentHandler>::Adopt(new ZRBSAXDocumentHandler(manager));
    parser->SetDocumentHandler(CADIXMLSAXDocumentHandler_var(handler));
    ASSERT_EQ(parser->ParseText(xml, piece), S_OK);
    parser->SetDocumentHandler(nullptr);
    ZRBPropertyReference* r = manager.GetReferenceObject("A&B");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetId(), 12);
    EXPECT_EQ(r->Get(Field::UserDefPropertiesList), CADUnicodeString("{p1}{p2}"));
    EXPECT_EQ(r->Get(Field::FullPath), CADUnicodeString(""));
    EXPECT_EQ(r->BlackBoxRoots(), (CADListValCADUnicodeString{"/r"}));
    EXPECT_EQ(r->GetProperty("ZRB_OBID"), CADUnicodeString("v\nw"));
    EXPECT_EQ(manager.GetProcessId(), 77ul);
  }
}

TEST_F(PropsTest, WritingReplacesAPlantedLinkInsteadOfFollowingIt) {
  Spit(PathIn("victim"), "precious");
  std::filesystem::create_symlink(dir / "victim", dir / "pm.xml");
  manager.SetReferenceProperty("A", "ZRB_OBID", "1");
  ASSERT_EQ(manager.Write(PathIn("pm.xml"), PathIn("pm.dtd")), 1);
  EXPECT_EQ(Slurp(PathIn("victim")), "precious");
  EXPECT_FALSE(std::filesystem::is_symlink(dir / "pm.xml"));
  // A directory that cannot take the file: failure, nothing half-written.
  EXPECT_EQ(manager.Write(PathIn("no/such/dir/pm.xml"), PathIn("pm.dtd")), 0);
  EXPECT_EQ(manager.WriteDTD(PathIn("no/such/dir/pm.dtd")), 0);
}

TEST_F(PropsTest, TemporaryFilesRoundTripAndRefuseForeignFiles) {
  ::setenv("TMPDIR", dir.c_str(), 1);
  GlobPropertyManager.SetReferenceProperty("A", "ZRB_OBID", "1");
  ASSERT_EQ(GlobPropertyManager.WritePropertiesToTmp(), 1);
  GlobPropertyManager.Initialize();
  ASSERT_EQ(GlobPropertyManager.ReadPropertiesFromTmp(), 1);
  EXPECT_EQ(GlobPropertyManager.GetReferenceProperty("A", "ZRB_OBID"), CADUnicodeString("1"));
  // Replace the data file by a link to a planted file: refused.
  std::filesystem::path data;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().string().ends_with("ZRBPropertyManager.xml")) data = entry.path();
  ASSERT_FALSE(data.empty());
  std::filesystem::rename(data, dir / "planted.xml");
  std::filesystem::create_symlink(dir / "planted.xml", data);
  EXPECT_EQ(GlobPropertyManager.ReadPropertiesFromTmp(), 0);
  EXPECT_TRUE(GlobPropertyManager.Store().References().empty());
  ::unsetenv("TMPDIR");
}

TEST_F(PropsTest, IdsReadAtTheEndOfTheRangeDoNotOverflow) {
  std::string xml =
      "<ZRBPropertyManager><ReferenceList><Reference><Id>1</Id><PartNumber>A</PartNumber></Reference>"
      "</ReferenceList><InstanceList><Instance><ParentId>1</ParentId><ChildInstanceName>x</ChildInstanceName>"
      "<ChildId>2147483647</ChildId></Instance></InstanceList></ZRBPropertyManager>";
  ASSERT_EQ(manager.ReadText(xml), 1);
  int first = manager.GetNewId();
  EXPECT_EQ(first, 2);  // the smallest Id no record uses
  manager.SetReferenceProperty("NEW", "ZRB_OBID", "n");
  EXPECT_NE(manager.GetReferenceObject("NEW")->GetId(), 1);
  EXPECT_NE(manager.GetReferenceObject("NEW")->GetId(), 2147483647);
}
