// Slot values of one exchange object: the stored form, the limits and the
// list form.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ExchangeTestSupport.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObject.h"
#include "ZRBTrace.h"

namespace {
std::string X(std::size_t n, char c = 'x') { return std::string(n, c); }

std::string Stored(const ZRBObject& o, const char* name) {
  CADListValCADString names, values;
  o.GetAllSlots(names, values);
  int at = names.Locate(CADString(name));
  return at ? values[at].str() : "<missing>";
}

TEST(ZRBObjectSlots, SetSlotValueStoresTheNormalisedValue) {
  struct V {
    const char* what;
    std::string value, stored;
    int result;
  };
  for (const V& c :
       {V{"plain", "abc", "abc", 1}, V{"blanks and tabs at both ends", "  a b \t", "a b", 1},
        V{"line feeds escaped", "a\nb\n", "a@EOL@b@EOL@", 1},
        V{"CRs removed, also before a trailing blank", "a\r\nb \r", "a@EOL@b", 1}, V{"empty", "", "", 1},
        V{"exactly the limit", X(16300), X(16300), 1}, V{"one byte over", X(16301), X(16300), 0},
        V{"blanks do not count against the limit", "  " + X(16300) + " ", X(16300), 1},
        V{"a cut exposing a blank strips it", X(16299) + " yy", X(16299), 0},
        V{"cut never splits a 2-byte sequence", X(16299) + "\xC3\xA9", X(16299), 0},
        V{"cut never splits a 3-byte sequence", X(16298) + "\xE2\x82\xAC", X(16298), 0},
        V{"cut never splits a 4-byte sequence", X(16297) + "\xF0\x9F\x98\x80" + "y", X(16297), 0},
        V{"a sequence ending at the limit stays", X(16298) + "\xC3\xA9" + "y", X(16298) + "\xC3\xA9", 0},
        V{"escape growth cut before a partial @EOL@", X(16296) + "\nyyy", X(16296), 0},
        V{"escape growth at the very end", X(16299) + "\n", X(16299), 0},
        V{"escape growth keeps whole escapes", X(16290) + "\n" + X(20, 'y'), X(16290) + "@EOL@" + X(5, 'y'), 0}}) {
    ZRBObject o;
    EXPECT_EQ(o.SetSlotValue("Slot", CADString(c.value)), c.result) << c.what;
    EXPECT_EQ(Stored(o, "SLOT"), c.stored) << c.what;
  }
}

TEST(ZRBObjectSlots, NamesAreCaseInsensitiveAndKeepTheOrderOfFirstSetting) {
  ZRBObject o;
  EXPECT_EQ(o.SetSlotValue("partNumber", "1"), 1);
  EXPECT_EQ(o.SetSlotValue("Zrb_Obid", "2"), 1);
  EXPECT_EQ(o.SetSlotValue("PARTNUMBER", "3"), 1);
  EXPECT_EQ(o.GetSlotValue("partnumber"), "3");
  EXPECT_EQ(o.GetSlotValue("missing"), "");
  CADListValCADString names, values;
  EXPECT_EQ(o.GetAllSlots(names, values), 1);
  EXPECT_EQ(names, (CADListValCADString{"PARTNUMBER", "ZRB_OBID"}));
  EXPECT_EQ(values, (CADListValCADString{"3", "2"}));
  ZRBObject empty;
  EXPECT_EQ(empty.GetAllSlots(names, values), 0);

  ZRBObject wide;  // long names, letters beyond ASCII left alone
  wide.SetSlotValue("zrb_\xC3\xA4rger_property_name", "x");
  wide.SetSlotValue("Modification_Date_GMT", "y");
  CADListValCADString wideNames, wideValues;
  wide.GetAllSlots(wideNames, wideValues);
  EXPECT_EQ(wideNames, (CADListValCADString{"ZRB_\xC3\xA4RGER_PROPERTY_NAME", "MODIFICATION_DATE_GMT"}));
  EXPECT_EQ(wide.GetSlotValue("modification_date_gmt"), "y");
}

TEST(ZRBObjectSlots, ManyReplacementsKeepEveryValue) {
  ZRBObject o;
  o.SetSlotValue("FIRST", "1");
  for (int round = 0; round < 500; ++round) {
    o.SetSlotValue("BIG",
                   CADString(X(static_cast<std::size_t>(100 + round * 7 % 3000), static_cast<char>('a' + round % 26))));
    o.SetSlotValue("SMALL", CADString::BuildFromNum("%d", round));
  }
  o.SetSlotValue("LAST", "z");
  CADListValCADString names, values;
  o.GetAllSlots(names, values);
  EXPECT_EQ(names, (CADListValCADString{"FIRST", "BIG", "SMALL", "LAST"}));
  EXPECT_EQ(values[1], "1");
  EXPECT_EQ(values[2], CADString(X(100 + 499 * 7 % 3000, static_cast<char>('a' + 499 % 26))));
  EXPECT_EQ(values[3], "499");
  EXPECT_EQ(values[4], "z");
  ZRBObject copy(o);
  EXPECT_EQ(copy.GetSlotValue("big"), o.GetSlotValue("BIG"));
}

TEST(ZRBObjectSlots, NamesThatWouldCorruptTheFileAreRefusedAndCutsAreTraced) {
  for (const char* name :
       {"", "{A", "A}", "A\nB", "A\rB", "LONG_NAME_WITH_{_INSIDE", "ABCDEFGHIJKLMNOP\r", "ABCDEFGH}"}) {
    ZRBObject o;
    TraceCapture trace;
    EXPECT_EQ(o.SetSlotValue(name, "v"), 0) << name;
    EXPECT_EQ(o.SetSlotValueList(name, {"v"}), 0) << name;
    EXPECT_EQ(o.SlotAppend(name, "v"), 0) << name;
    EXPECT_EQ(o.GetSlotCount(), 0) << name;
    EXPECT_NE(trace.Text().find("refused"), std::string::npos) << name;
  }
  TraceCapture trace;
  ZRBObject o;
  o.SetSlotValue("long", CADString(X(16305)));
  EXPECT_NE(trace.Text().find("ZRBObject: Slot:LONG truncated 5 Byte\n"), std::string::npos) << trace.Text();
}

TEST(ZRBObjectSlots, GetSlotValueListSplitsBracedItems) {
  const struct {
    std::string value;
    CADListValCADString items;
  } cases[] = {
      {"abc", {"abc"}},
      {"{a} {b}", {"a", "b"}},
      {"{}", {""}},
      {"", {}},
      {"{a}{b c}", {"a", "b c"}},
      {"text {a} between {b", {"a", "b"}},
      {"{a\nb} {c}", {"a\nb", "c"}},
  };
  for (const auto& c : cases) {
    ZRBObject o;
    o.SetSlotValue("L", CADString(c.value));
    EXPECT_EQ(o.GetSlotValueList("l"), c.items) << c.value;
  }
}

TEST(ZRBObjectSlots, SetSlotValueListDropsWholeItemsAtTheLimit) {
  const struct {
    const char* what;
    CADListValCADString items;
    std::string stored;
    int result;
  } cases[] = {
      {"three items", {"a", "b", "c"}, "{a} {b} {c}", 1},
      {"no items", {}, "", 1},
      {"empty item", {"", "x"}, "{} {x}", 1},
      {"line ends escaped", {"a\r\nb"}, "{a@EOL@b}", 1},
      {"one item exactly at the limit", {CADString(X(16298))}, "{" + X(16298) + "}", 1},
      {"one item one byte too long", {CADString(X(16299))}, "", 0},
      {"second item fits exactly",
       {CADString(X(8000)), CADString(X(8295, 'y'))},
       "{" + X(8000) + "} {" + X(8295, 'y') + "}",
       1},
      {"second item dropped whole", {CADString(X(8000)), CADString(X(8297, 'y')), "z"}, "{" + X(8000) + "}", 0},
      {"escape growth counted", {CADString(X(16294) + "\n")}, "", 0},
      {"a closing brace cannot smuggle in items", {"a} {injected", "c"}, "{a} {c}", 0},
      {"an opening brace travels", {"{a", "b{"}, "{{a} {b{}", 1},
  };
  for (const auto& c : cases) {
    ZRBObject o;
    EXPECT_EQ(o.SetSlotValueList("L", c.items), c.result) << c.what;
    EXPECT_EQ(Stored(o, "L"), c.stored) << c.what;
  }
}

TEST(ZRBObjectSlots, SlotAppendTrimsAndExtendsTheList) {
  ZRBObject o;
  EXPECT_EQ(o.SlotAppend("files", "  a.CADPart \t"), 1);
  EXPECT_EQ(o.SlotAppend("FILES", "b.CADPart\r"), 1);
  EXPECT_EQ(o.SlotAppend("Files", ""), 1);
  EXPECT_EQ(Stored(o, "FILES"), "{a.CADPart} {b.CADPart} {}");
  EXPECT_EQ(o.GetSlotValueList("files"), (CADListValCADString{"a.CADPart", "b.CADPart", ""}));

  ZRBObject plain;
  plain.SetSlotValue("S", "x");
  plain.SlotAppend("S", "y");
  EXPECT_EQ(Stored(plain, "S"), "{x} {y}");

  ZRBObject full;
  full.SetSlotValueList("S", {CADString(X(16290))});
  EXPECT_EQ(full.SlotAppend("S", "too much"), 0);
  EXPECT_EQ(full.GetSlotValueList("S").Size(), 1);
}

TEST(ZRBObjectFile, ReadHandsBackTheLineThatEndsTheObject) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  const std::string text = "@A\n{X} 1\n\n@B\n{Y} " + X(10000) + "\n@C\nstop\n";
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  ZRBObject a, b, c, d;
  EXPECT_EQ(a.Read(f), 1);
  EXPECT_EQ(b.Read(f), 1);
  EXPECT_EQ(c.Read(f), 1);
  EXPECT_EQ(d.Read(f), 0);
  EXPECT_EQ(a.GetKey(), "A");
  EXPECT_EQ(a.GetSlotValue("X"), "1");
  EXPECT_EQ(b.GetKey(), "B");
  EXPECT_EQ(b.GetSlotValue("Y").GetLength(), 10000);
  EXPECT_EQ(c.GetKey(), "C");
  EXPECT_EQ(c.GetSlotCount(), 0);
  std::fclose(f);
}

TEST(ZRBObjectFile, WriteGivesHeaderAndSlotLinesAndRefusesAnEmptyKey) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  ZRBObject keyless;
  keyless.SetSlotValue("a", "1");
  EXPECT_EQ(keyless.Write(out), 0);  // "@" alone would end the reading of the whole file
  std::FILE* in = std::tmpfile();
  std::fputs("@K\n{a} 1\n{b}  \n", in);  // an object as read is written from its kept lines
  std::rewind(in);
  ZRBObject read;
  ASSERT_EQ(read.Read(in), 1);
  std::fclose(in);
  EXPECT_EQ(read.Write(out), 1);
  std::rewind(out);
  char buffer[64] = {};
  EXPECT_EQ(std::string(buffer, std::fread(buffer, 1, sizeof buffer, out)), "@K\n{A} 1\n{B} \n");
  std::fclose(out);
}

}  // namespace
