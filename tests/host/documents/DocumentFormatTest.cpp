// The document file reader and writer: round trips of every kind, and
// refusal of damaged files with a message naming the line.
#include <gtest/gtest.h>

#include "CADDocumentReader.h"
#include "CADDocumentWriter.h"

namespace {

CADDocumentImage RoundTrip(const CADDocumentImage& image, bool representation = false) {
  std::string text = CADDocumentWriter::Write(image);
  CADDocumentImage back;
  CADUnicodeString error;
  EXPECT_EQ(CADDocumentReader::Read(text, image.type, representation, back, error), S_OK) << error << "\n" << text;
  return back;
}

CADDocumentImage ProductWithEverything() {
  CADDocumentImage image;
  image.type = "CADProduct";
  image.hasRoot = true;
  image.root.partNumber = "Asm \"quoted\" \\ name";
  image.root.name = "Root.1";
  image.root.nomenclature = "line one\nline two\ttab";
  image.root.revision = "A";
  image.root.parameters = {
      {"Colour", "String", ""}, {"Flag", "Boolean", "true"}, {"N", "Integer", "-3"}, {"Mass", "Real", "1.5e-3"}};
  image.root.shapes = {{"Default", "/x/asm.vis", "vis"}};
  image.root.tables = {{"DT", "", false, "/t/dt.txt"}};
  CADInstanceImage a;
  a.name = "Part.1";
  a.target = "part.CADPart";
  // Rotations do not survive as round numbers: every digit must come back.
  a.position = CADMathTransformation::Translation(0.1, 1.0 / 3.0, -2e-300) * CADMathTransformation::Rotation(0, 33.3);
  a.active = false;
  CADInstanceImage b;
  b.name = "Sub.1";
  b.component = true;
  b.target = "Sub";
  image.root.instances = {a, b};
  CADReferenceImage sub;
  sub.partNumber = "Sub";
  sub.description = "embedded";
  sub.instances = {a};
  image.components = {sub};
  image.containers = {"ZRBData", "Other container"};
  return image;
}

TEST(DocumentFormat, EveryKindReadsBackEqual) {
  CADDocumentImage part;
  part.type = "CADPart";
  part.hasRoot = true;
  part.root.partNumber = "P";
  CADGeometryBody body;
  body.name = "Body";
  body.hidden = true;
  body.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0.25}};
  body.triangles = {{0, 1, 2}};
  part.bodies = {body};

  CADDocumentImage drawing;
  drawing.type = "CADDrawing";
  drawing.name = "D";
  drawing.comment = "c";
  drawing.responsible = "r";
  drawing.parameters = {{"Title", "String", "x"}};
  drawing.tables = {{"T", "alias", true, "/a/b.xls"}};
  drawing.sheets = {{"Sheet.1", {{"Front", "p.CADPart"}}}, {"Empty sheet", {}}};

  CADDocumentImage process;
  process.type = "CADProcess";
  process.name = "Proc";
  process.links = {"a.CADProduct", "/abs/b.CADPart"};
  process.properties = {{"key", "value with blanks"}};

  CADDocumentImage vis = part;
  vis.type = "vis";

  for (const CADDocumentImage& image : {ProductWithEverything(), part, drawing, process, vis})
    EXPECT_EQ(RoundTrip(image), image) << image.type;
}

TEST(DocumentFormat, RepresentationsAndForeignVisFilesStayByteForByte) {
  const std::string bytes("ISO-10303-21;\r\n\0binary\xff", 24);
  CADDocumentImage image;
  CADUnicodeString error;
  ASSERT_EQ(CADDocumentReader::Read(bytes, "stp", true, image, error), S_OK);
  EXPECT_TRUE(image.opaque);
  EXPECT_EQ(CADDocumentWriter::Write(image), bytes);
  ASSERT_EQ(CADDocumentReader::Read("foreign vis data", "vis", false, image, error), S_OK);
  EXPECT_TRUE(image.opaque);
  // Our own kinds never pass as opaque.
  EXPECT_EQ(CADDocumentReader::Read("foreign data", "CADPart", false, image, error), E_FAIL);
}

TEST(DocumentFormat, DamagedFilesAreRefusedWithTheLine) {
  const std::string head = "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"A\"\n";
  const std::string inst = "instance \"I.1\" file \"p.CADPart\" 1 0 0 0 1 0 0 0 1 0 0 0 1\n";
  struct Case {
    const char* what;
    std::string type;
    std::string text;
    const char* message;
  } cases[] = {
      {"empty", "CADProduct", "", "empty file"},
      {"no header", "CADProduct", "partnumber \"A\"\nend\n", "bad header"},
      {"other version", "CADProduct", "CADHOST-DOCUMENT 2 CADProduct\nend\n", "version"},
      {"type mismatch", "CADPart", head + "end\n", "expected CADPart"},
      {"no end", "CADProduct", head, "missing 'end'"},
      {"trailing text", "CADProduct", head + "end\npartnumber \"B\"\n", "after the final"},
      {"unknown keyword", "CADProduct", head + "colour red\nend\n", "unknown keyword 'colour'"},
      {"unterminated quote", "CADProduct", head + "nomenclature \"abc\nend\n", "unterminated"},
      {"bad escape", "CADProduct", head + "nomenclature \"a\\qb\"\nend\n", "unknown escape"},
      {"missing part number", "CADProduct", "CADHOST-DOCUMENT 1 CADProduct\nend\n", "no part number"},
      {"short instance", "CADProduct", head + "instance \"I.1\" file \"p.CADPart\" 1 0 0\nend\n", "takes 16"},
      {"number garbage", "CADProduct", head + "instance \"I.1\" file \"p\" 1 0 0 0 1 0 0 0 1 0 0 x 1\nend\n",
       "bad number"},
      {"infinite number", "CADProduct", head + "instance \"I.1\" file \"p\" 1 0 0 0 1 0 0 0 1 0 0 inf 1\nend\n",
       "bad number"},
      {"bad target kind", "CADProduct", head + "instance \"I.1\" url \"p\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n",
       "'file' or 'component'"},
      {"duplicate instance", "CADProduct", head + inst + inst + "end\n", "duplicate instance name"},
      {"unknown component", "CADProduct", head + "instance \"C.1\" component \"Nope\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n",
       "unknown component"},
      {"component cycle", "CADProduct",
       head + "component \"X\"\ninstance \"Y.1\" component \"Y\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\n"
              "component \"Y\"\ninstance \"X.1\" component \"X\" 1 0 0 0 1 0 0 0 1 0 0 0 1\nend\nend\n",
       "contains itself"},
      {"component repeats root", "CADProduct", head + "component \"A\"\nend\nend\n", "repeats the root"},
      {"component in part", "CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"P\"\ncomponent \"X\"\nend\nend\n",
       "only products"},
      {"instance in part", "CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"P\"\n" + inst + "end\n",
       "only products hold instances"},
      {"bad triangle", "CADPart",
       "CADHOST-DOCUMENT 1 CADPart\npartnumber \"P\"\nbody \"B\" shown\nvertex 0 0 0\ntriangle 0 0 1\nend\nend\n",
       "missing vertex"},
      {"bad parameter value", "CADProduct", head + "parameter \"Boolean\" \"F\" \"maybe\"\nend\n", "does not suit"},
      {"bad table flag", "CADProduct", head + "designtable \"T\" \"\" 2 \"/s.xls\"\nend\n", "expected 0 or 1"},
      {"view without target", "CADDrawing", "CADHOST-DOCUMENT 1 CADDrawing\nsheet \"S\"\nview \"V\" \"\"\nend\nend\n",
       "view without"},
      {"unclosed sheet", "CADDrawing", "CADHOST-DOCUMENT 1 CADDrawing\nsheet \"S\"\n", "has no 'end'"},
      {"control character", "CADProduct",
       head + "nomenclature ab\x01"
              "c\nend\n",
       "unexpected character"},
  };
  for (const Case& c : cases) {
    CADDocumentImage image;
    CADUnicodeString error;
    EXPECT_EQ(CADDocumentReader::Read(c.text, CADUnicodeString(c.type), false, image, error), E_FAIL) << c.what;
    EXPECT_NE(error.Find(c.message), -1) << c.what << ": " << error;
    EXPECT_TRUE(error.StartsWith("line ")) << c.what << ": " << error;
  }
}

TEST(DocumentFormat, CommentsBlankLinesAndCarriageReturnsAreAccepted) {
  const std::string text =
      "# written by hand\r\nCADHOST-DOCUMENT 1 CADPart\r\n\r\n   \t\npartnumber   \"P\"\r\n  # inner comment\nend\r\n";
  CADDocumentImage image;
  CADUnicodeString error;
  ASSERT_EQ(CADDocumentReader::Read(text, "CADPart", false, image, error), S_OK) << error;
  EXPECT_EQ(image.root.partNumber, "P");
}

}  // namespace
