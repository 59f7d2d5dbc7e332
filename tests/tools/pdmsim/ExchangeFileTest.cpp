// The reference PDM's own reader and writer: the reading rules, what the
// writer refuses, and agreement with the module's reader on the golden files
// of both sides.
#include <gtest/gtest.h>

#include <filesystem>

#include "ExchangeFile.h"
#include "GmtTime.h"
#include "PdmSimHarness.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace {
namespace fs = std::filesystem;
using pdmsim::ExchangeFile;
using pdmsim::ExchangeObject;
using pdmsim::ParseReport;

// key:NAME=value;NAME=value|key:... as the parser should see the bytes.
std::string Describe(const ExchangeFile& file) {
  std::string text;
  for (const ExchangeObject& object : file.Objects()) {
    if (!text.empty()) text += "|";
    text += object.Key() + ":";
    bool first = true;
    for (const auto& [name, value] : object.Slots()) {
      text += (first ? "" : ";") + name + "=" + value;
      first = false;
    }
  }
  return text;
}

// Line ends, empty files and stops mid-file are in the golden files both readers must agree on (below).
TEST(PdmExchangeReader, FollowsTheReadingRules) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string objects;
    bool complete;
    std::size_t stopLine;
  };
  const Case cases[] = {
      {"indentation and blank lines", "@A\n\n   {x} 1\n\t{Y}  two words  \n\n\n@B\n", "A:X=1;Y=two words|B:", true, 0},
      {"slot without blank", "@A\n{X}value\n", "A:X=value", true, 0},
      {"repeated slot keeps first place", "@A\n{X} 1\n{Y} 2\n{x} 3\n", "A:X=3;Y=2", true, 0},
      {"stop line mid-file", "@A\n{X} 1\nnot a slot\n@B\n{Y} 2\n", "A:X=1", false, 3},
      {"slot ending at the brace ends reading", "@A\n{X}\n{Y} 2\n", "A:", false, 2},
      {"header without key", "@A\n{X} 1\n@\n{Y} 2\n", "A:X=1", false, 3},
      {"escaped line feed kept escaped", "@A\n{T} one@EOL@two\n", "A:T=one@EOL@two", true, 0},
  };
  for (const Case& c : cases) {
    ParseReport report;
    ExchangeFile file = ExchangeFile::Parse(c.bytes, &report);
    EXPECT_EQ(Describe(file), c.objects) << c.name;
    EXPECT_EQ(report.complete, c.complete) << c.name;
    if (!c.complete) {
      EXPECT_EQ(report.stopLine, c.stopLine) << c.name;
    }
  }
}

TEST(PdmExchangeWriter, RefusesWhatTheFormatCannotCarry) {
  struct Case {
    const char* name;
    ExchangeFile file;
    std::string expectedError;
  };
  auto with = [](std::string key, std::string slot, std::string value) {
    ExchangeFile file;
    file.Add(std::move(key)).SetRaw(slot, value);
    return file;
  };
  Case cases[] = {
      {"empty key", with("", "A", "1"), "cannot be written"},
      {"key with line feed", with("A\nB", "A", "1"), "line break"},
      {"slot name with brace", with("K", "A}B", "1"), "slot name"},
      {"over-long value", with("K", "A", std::string(ExchangeObject::kMaxValueBytes + 1, 'x')), "at most 16300"},
  };
  for (Case& c : cases) {
    std::string bytes;
    std::string error;
    EXPECT_FALSE(c.file.Serialize(bytes, &error)) << c.name;
    EXPECT_NE(error.find(c.expectedError), std::string::npos) << c.name << ": " << error;
  }
  std::string bytes;
  EXPECT_TRUE(with("K", "A", std::string(ExchangeObject::kMaxValueBytes, 'x')).Serialize(bytes, nullptr));
}

TEST(PdmExchangeWriter, WritesWhatBothReadersReadBack) {
  ExchangeFile file;
  ExchangeObject& root = file.Add("ROOT");
  root.Set("action_success", "1");
  root.Set("STATS", "");
  root.SetList("LIST", {"a", "", "two words", "line\nbreak"});
  root.Set("TEXT", "  first\r\nsecond  ");
  std::string bytes;
  ASSERT_TRUE(file.Serialize(bytes, nullptr));
  EXPECT_EQ(bytes,
            "@ROOT\n{ACTION_SUCCESS} 1\n{STATS} \n{LIST} {a} {} {two words} {line@EOL@break}\n"
            "{TEXT} first@EOL@second\n\n");

  ExchangeFile again = ExchangeFile::Parse(bytes);
  EXPECT_EQ(again.Find("ROOT")->GetList("LIST"), (std::vector<std::string>{"a", "", "two words", "line\nbreak"}));
  EXPECT_EQ(again.Find("ROOT")->Get("TEXT"), "first\nsecond");

  pdmsimtest::PdmSimHarness harness;
  std::string path = harness.Root() + "/written.zrb";
  ASSERT_TRUE(file.SaveAtomic(path, nullptr));
  ZRBObjectManager module;
  ASSERT_EQ(module.Read(CADUnicodeString(path)), 1);
  ZRBObject* moduleRoot = module.GetObject("ROOT");
  ASSERT_NE(moduleRoot, nullptr);
  EXPECT_EQ(moduleRoot->GetSlotValue("STATS").str(), "");
  EXPECT_EQ(moduleRoot->GetSlotValue("TEXT").str(), "first\nsecond");
  CADListValCADString items = moduleRoot->GetSlotValueList("LIST");
  ASSERT_EQ(items.Size(), 4);
  EXPECT_EQ(items[2].str(), "");
  EXPECT_EQ(items[4].str(), "line\nbreak");
}

// Both readers must see the same objects in every golden file of either side.
TEST(PdmExchangeReader, AgreesWithTheModuleOnEveryGoldenFile) {
  int files = 0;
  for (const char* folder : {"exchange", "pdmsim"}) {
    fs::path dir = fs::path(ZRB_TEST_DATA_DIR) / folder;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() != ".zrb") continue;
      ++files;
      std::string bytes = pdmsimtest::PdmSimHarness::ReadFile(entry.path().string());
      ExchangeFile ours = ExchangeFile::Parse(bytes);
      ZRBObjectManager module;
      ASSERT_EQ(module.Read(CADUnicodeString(entry.path().string())), 1) << entry.path();
      ASSERT_EQ(module.GetObjectCount(), static_cast<int>(ours.Objects().size())) << entry.path();
      ZRBObject* theirs = module.GetFirstObject();
      for (const ExchangeObject& object : ours.Objects()) {
        ASSERT_NE(theirs, nullptr);
        EXPECT_EQ(theirs->GetKey().str(), object.Key()) << entry.path();
        CADListValCADString names;
        CADListValCADString values;
        theirs->GetAllSlots(names, values);
        ASSERT_EQ(names.Size(), static_cast<int>(object.Slots().size())) << entry.path() << " " << object.Key();
        for (int i = 1; i <= names.Size(); ++i) {
          EXPECT_EQ(names[i].str(), object.Slots()[static_cast<std::size_t>(i - 1)].first) << entry.path();
          EXPECT_EQ(theirs->GetSlotValue(names[i]).str(), object.Get(names[i].str())) << entry.path();
        }
        theirs = module.GetNextObject(theirs);
      }
    }
  }
  EXPECT_GT(files, 5);
}

TEST(PdmGmtTime, DatesAreTwentyThreeCharactersAndChangesAreVisibleToTheSecond) {
  EXPECT_EQ(pdmsim::GmtTime::Format(0), "1970-01-01 00:00:00.000");
  EXPECT_EQ(pdmsim::GmtTime::Format(1714557600123), "2024-05-01 10:00:00.123");
  EXPECT_EQ(pdmsim::GmtTime::Parse("2024-05-01 10:00:00.123"), 1714557600123);
  for (const char* bad : {"2024-05-01 10:00:00", "2024-13-01 10:00:00.000", "2024-05-01T10:00:00.000", ""}) {
    EXPECT_FALSE(pdmsim::GmtTime::Parse(bad)) << bad;
  }
  std::string later = pdmsim::GmtTime::NextAfter("2999-01-01 00:00:00.999");
  EXPECT_EQ(later, "2999-01-01 00:00:01.000");
  EXPECT_FALSE(pdmsim::GmtTime::SameSecond(later, "2999-01-01 00:00:00.999"));
  EXPECT_EQ(pdmsim::GmtTime::Now().size(), pdmsim::GmtTime::kLength);
}

}  // namespace
