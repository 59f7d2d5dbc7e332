#include <cstdio>
#include <fstream>

#include "SaxRecording.h"

// The text of an element arrives whole however the input is cut: every piece
// size from 1 byte up must give the same events, entities included.
TEST(CADXMLSAX, TextArrivesWholeForEveryPieceSize) {
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<Root a=\"x &amp; y\">\n"
      "  <Name>Fish &amp; Chips &lt;3&gt; &#233;t&#xE9; &quot;q&quot;</Name>\n"
      "  <Value> </Value>\n"
      "  <Empty/>\n"
      "  <Mixed>one<b/>two</Mixed>\n"
      "  <![CDATA[ignored]]>\n"
      "</Root>\n";
  // Every event, "|" between them.
  const std::string expected =
      "<Root a=x & y>|W3|<Name>|T[Fish & Chips <3> \xC3\xA9t\xC3\xA9 \"q\"]|</Name>|W3|"
      "<Value>|T[ ]|</Value>|W3|<Empty>|</Empty>|W3|<Mixed>|T[one]|<b>|</b>|T[two]|</Mixed>|"
      "T[\n  ignored\n]|</Root>";
  for (size_t piece : {0, 1, 2, 3, 5, 7, 64}) {
    Parsed p = ParseText(doc, piece);
    EXPECT_EQ(p.hr, S_OK) << "piece " << piece;
    EXPECT_EQ(Joined(p.events), expected) << "piece " << piece;
  }
}

TEST(CADXMLSAX, MissingDtdIsNeverFetchedAndDeclaredLatin1BecomesUtf8) {
  const std::string doc =
      "<?xml version=\"1.0\"?>\n"
      "<!DOCTYPE ZRBPropertyManager SYSTEM \"/nonexistent/dir/ZRBPropertyManager.dtd\">\n"
      "<ZRBPropertyManager ProcessId = \"42\"><Global/></ZRBPropertyManager>";
  Parsed p = ParseText(doc);
  EXPECT_EQ(p.hr, S_OK);
  EXPECT_EQ(p.events, (Events{"<ZRBPropertyManager ProcessId=42>", "<Global>", "</Global>", "</ZRBPropertyManager>"}));

  // An entity that only the unread DTD could define is left out with a warning.
  Parsed q = ParseText("<!DOCTYPE r SYSTEM \"missing.dtd\"><r>a&ext;b</r>");
  EXPECT_EQ(q.hr, S_OK);
  EXPECT_EQ(q.events, (Events{"<r>", "warning: entity &ext; is declared outside the document and was left out", "T[ab]",
                              "</r>"}));

  // A declared Latin-1 document reaches the handler as UTF-8.
  Parsed latin = ParseText("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>");
  EXPECT_EQ(latin.hr, S_OK);
  EXPECT_EQ(latin.events, (Events{"<a>", "T[caf\xC3\xA9]", "</a>"}));
}

TEST(CADXMLSAX, MalformedInputFailsCleanlyAndKeepsEarlierRecords) {
  struct Case {
    const char* name;
    std::string doc;
    Events expected;
  };
  const std::vector<Case> cases = {
      {"latin-1 byte in a UTF-8 document",
       "<List>\n<Item>one</Item>\n<Item>caf\xE9</Item></List>",
       {"<List>", "W1", "<Item>", "T[one]", "</Item>", "W1", "<Item>", "fatal@3: not well-formed (invalid token)"}},
      {"mismatched tag", "<a><b></a>", {"<a>", "<b>", "fatal@1: mismatched tag"}},
      {"empty document", "", {"fatal@1: no element found"}},
      {"truncated", "<a><b>text", {"<a>", "<b>", "fatal@1: no element found"}},
      {"two roots", "<a/><b/>", {"<a>", "</a>", "fatal@1: junk after document element"}},
      {"undefined entity", "<a>&nope;</a>", {"<a>", "fatal@1: undefined entity"}},
  };
  for (const auto& c : cases) {
    for (size_t piece : {0, 1, 4}) {
      Parsed p = ParseText(c.doc, piece);
      EXPECT_EQ(p.hr, E_FAIL) << c.name;
      EXPECT_EQ(p.events, c.expected) << c.name << " piece " << piece;
    }
  }
}

TEST(CADXMLSAX, EntityExpansionBombIsRefused) {
  // Each level refers ten times to the one below: 10^11 expansions if unchecked.
  std::string doc = "<!DOCTYPE r [<!ENTITY a0 \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\">";
  for (int i = 1; i < 12; ++i) {
    std::string ref = "&a" + std::to_string(i - 1) + ";";
    std::string body;
    for (int k = 0; k < 10; ++k) body += ref;
    doc += "<!ENTITY a" + std::to_string(i) + " \"" + body + "\">";
  }
  doc += "]><r>&a11;</r>";
  Parsed p = ParseText(doc);
  EXPECT_EQ(p.hr, E_FAIL);
  ASSERT_FALSE(p.events.empty());
  EXPECT_EQ(p.events.back().rfind("fatal@", 0), 0u) << p.events.back();
}

TEST(CADXMLSAX, HandlerRefusalOrExceptionStopsTheParse) {
  auto handler = CADVar<RecordingHandler>::Adopt(new RecordingHandler);
  handler->failOnElement = "b";
  auto parser = NewParser(handler);
  EXPECT_EQ(parser->ParseText("<a><b/><c/></a>"), E_FAIL);
  EXPECT_EQ(handler->events, (Events{"<a>", "<b>"}));

  auto thrower = CADVar<RecordingHandler>::Adopt(new RecordingHandler);
  thrower->throwOnText = true;
  auto parser2 = NewParser(thrower);
  EXPECT_EQ(parser2->ParseText("<a>t<b/></a>"), E_FAIL);
  EXPECT_EQ(thrower->events, (Events{"<a>", "fatal@1: handler failed: boom"}));

  // The parser is reusable after a failure.
  thrower->throwOnText = false;
  thrower->events.clear();
  EXPECT_EQ(parser2->ParseText("<a>t</a>"), S_OK);
  EXPECT_EQ(thrower->events, (Events{"<a>", "T[t]", "</a>"}));
}

TEST(CADXMLSAX, ParsesFilesAndReportsAMissingOne) {
  std::string path = testing::TempDir() + "sax_file_test.xml";
  {
    std::ofstream out(path, std::ios::binary);
    out << "<a>";
    for (int i = 0; i < 20000; ++i) out << "<i>v&amp;" << i << "</i>";  // several read blocks
    out << "</a>";
  }
  auto handler = CADVar<RecordingHandler>::Adopt(new RecordingHandler);
  auto parser = NewParser(handler);
  EXPECT_EQ(parser->Parse(CADUnicodeString(path)), S_OK);
  ASSERT_EQ(handler->events.size(), 2u + 3u * 20000u);
  EXPECT_EQ(handler->events[1 + 3 * 12345 + 1], "T[v&12345]");
  std::remove(path.c_str());

  handler->events.clear();
  EXPECT_EQ(parser->Parse(CADUnicodeString(path)), E_FAIL);
  EXPECT_EQ(handler->events, (Events{"fatal@0: cannot open the file"}));
}
