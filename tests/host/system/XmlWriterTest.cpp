#include <algorithm>
#include <sstream>

#include "CADXmlWriter.h"
#include "SaxRecording.h"

TEST(CADXmlWriter, EscapesSoThatValuesReadBackUnchanged) {
  const std::string kUtf8 =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC \xF0\x9F\x98\x80";
  struct Case {
    const char* name;
    std::string value;
    std::string text;       // as element text
    std::string attribute;  // as attribute value
    std::string readBack;   // what a parser gives for both
  };
  const std::vector<Case> cases = {
      {"markup", "a&b<c>'d\"", "a&amp;b&lt;c&gt;&apos;d&quot;", "a&amp;b&lt;c&gt;&apos;d&quot;", "a&b<c>'d\""},
      {"cr tab lf", "x\r\ty\nz", "x&#13;&#9;y\nz", "x&#13;&#9;y&#10;z", "x\r\ty\nz"},
      {"controls dropped", std::string("a\x01\x1f") + '\0' + "b\x7f", "ab\x7f", "ab\x7f", "ab\x7f"},
      {"utf-8 kept", kUtf8, kUtf8, kUtf8, kUtf8},
      {"latin-1 byte re-encoded", "caf\xE9", "caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9"},
      {"truncated and overlong sequences", "\xE2\x82 \xC0\xAF", "\xC3\xA2\xC2\x82 \xC3\x80\xC2\xAF",
       "\xC3\xA2\xC2\x82 \xC3\x80\xC2\xAF", "\xC3\xA2\xC2\x82 \xC3\x80\xC2\xAF"},
      {"surrogate encoded as utf-8", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xC2\x80", "\xC3\xAD\xC2\xA0\xC2\x80",
       "\xC3\xAD\xC2\xA0\xC2\x80"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CADXmlWriter::EscapeText(c.value), c.text) << c.name;
    EXPECT_EQ(CADXmlWriter::EscapeAttribute(c.value), c.attribute) << c.name;
    Parsed back = ParseText("<r a=\"" + c.attribute + "\">" + c.text + "</r>");
    EXPECT_EQ(back.hr, S_OK) << c.name;
    EXPECT_EQ(back.events, (Events{"<r a=" + c.readBack + ">", "T[" + c.readBack + "]", "</r>"})) << c.name;
  }
}

TEST(CADXmlWriter, BuildsIndentedDocumentsWithoutTouchingText) {
  std::ostringstream out;
  CADXmlWriter w(out, 2);
  w.Declaration();
  w.DocType("ZRBArchive", "ZRBArchive.dtd");
  w.StartElement("ZRBArchive");
  w.StartElement("Root");
  w.Attribute("ParentPartnumber", "");
  w.Attribute("InAssembly", "0");
  w.TextElement("Name", "P&1");
  w.StartElement("Empty");
  w.EndElement();
  w.StartElement("Mixed");
  w.StartElement("b");
  w.EndElement();
  w.Text("after");
  w.StartElement("c");
  w.EndElement();
  w.EndElement();
  w.Finish();
  EXPECT_EQ(out.str(),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<!DOCTYPE ZRBArchive SYSTEM \"ZRBArchive.dtd\">\n"
            "<ZRBArchive>\n"
            "  <Root ParentPartnumber=\"\" InAssembly=\"0\">\n"
            "    <Name>P&amp;1</Name>\n"
            "    <Empty/>\n"
            "    <Mixed>\n"
            "      <b/>after<c/></Mixed>\n"
            "  </Root>\n"
            "</ZRBArchive>\n");
  EXPECT_EQ(w.Depth(), 0);
  Parsed back = ParseText(out.str());
  EXPECT_EQ(back.hr, S_OK);
  EXPECT_NE(std::find(back.events.begin(), back.events.end(), "T[P&1]"), back.events.end());
  EXPECT_NE(std::find(back.events.begin(), back.events.end(), "T[after]"), back.events.end());
}
