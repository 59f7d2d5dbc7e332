// Reading exchange object files as the PDM side writes them.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>

#include "ExchangeTestSupport.h"
#include "ZRBObjectManager.h"
#include "ZRBObjectReadObserver.h"

namespace {
const std::string kAnswer =
    "@ROOT ACTION_SUCCESS=1 STATS={Saved 2 documents} {Checked in}|@0 ZRB_OBID=4711-0815 PARTNUMBER=Grundplatte";

struct FileCase {
  const char* file;
  std::string objects;
};

TEST(ZRBObjectManagerRead, HandWrittenPdmFiles) {
  for (const FileCase& c :
       {FileCase{"pdm-crlf.zrb", kAnswer}, FileCase{"pdm-indented.zrb", kAnswer},
        FileCase{"pdm-blank-lines.zrb", kAnswer}, FileCase{"pdm-no-blank.zrb", kAnswer},
        FileCase{"pdm-stop-mid.zrb",
                 "@ROOT ACTION_SUCCESS=1 STATS={Saved 2 documents} {Checked in}|@0 ZRB_OBID=4711-0815"},
        FileCase{"empty.zrb", ""}, FileCase{"first-line-empty.zrb", ""}}) {
    ZRBObjectManager manager;
    EXPECT_EQ(manager.Read(CADUnicodeString(TestData(c.file))), 1) << c.file;
    EXPECT_EQ(Describe(manager), c.objects) << c.file;
  }
}

struct TextCase {
  const char* what;
  std::string bytes;
  std::string objects;
};

TEST(ZRBObjectManagerRead, EdgeCasesOfTheFormat) {
  const std::string longValue(70000, 'v');
  const std::string longKey(70000, 'k');
  const TextCase cases[] = {
      {"slot line ends right after the brace: the object ends", "@A\n{X}\n{Y} 2\n", "@A"},
      {"the same with CRLF", "@A\r\n{X}\r\n{Y} 2\r\n", "@A"},
      {"a blank after the brace makes an empty value", "@A\n{X} \n{Y} 2\n", "@A X= Y=2"},
      {"object without slots", "@A\n@B\n{X} 1\n", "@A|@B X=1"},
      {"header without key stops", "@A\n{X} 1\n@\n@B\n", "@A X=1"},
      {"header key keeps inner blanks, loses its CR", "@ my key \r\n{X} 1\n", "@ my key  X=1"},
      {"file not beginning with @", "{X} 1\n@A\n", ""},
      {"leading blank before the first header", " @A\n", ""},
      {"indentation and blank lines between objects", "@A\n\n   \t\n  {X} 1\n\n\t@B\n", "@A X=1|@B"},
      {"last line without line feed", "@A\n{X} 1", "@A X=1"},
      {"empty slot name stops", "@A\n{} 1\n{Y} 2\n", "@A"},
      {"unclosed slot name stops", "@A\n{X 1\n{Y} 2\n", "@A"},
      {"name with a brace is refused, reading goes on", "@A\n{{X} 1\n{Y} 2\n", "@A Y=2"},
      {"repeated slot keeps the last value at the first place", "@A\n{X} 1\n{Y} 2\n{x} 3\n", "@A X=3 Y=2"},
      {"duplicate keys are both read", "@A\n{X} 1\n@A\n{X} 2\n", "@A X=1|@A X=2"},
      {"a line longer than 65536 bytes is read whole", "@A\n{X} " + longValue + "\n@B\n{Y} 2\n",
       "@A X=" + std::string(16300, 'v') + "|@B Y=2"},
      {"a key longer than 65536 bytes", "@" + longKey + "\n{X} 1\n@B\n", "@" + longKey + " X=1|@B"},
      {"a UTF-8 byte order mark is skipped", "\xEF\xBB\xBF@A\n{X} \xC3\xA4\n", "@A X=\xC3\xA4"},
      {"NUL bytes stay in values", std::string("@A\n{X} a\0b\n", 11), std::string("@A X=a\0b", 8)},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    WriteBytes(dir.File("in.zrb"), c.bytes);
    ZRBObjectManager manager;
    EXPECT_EQ(manager.Read(CADUnicodeString(dir.File("in.zrb"))), 1) << c.what;
    EXPECT_EQ(Describe(manager), c.objects) << c.what;
    // Slots parsed at once (an observer wants each) and on first use agree.
    ZRBObjectReadObserver wantsSlots;
    EXPECT_EQ(manager.Read(CADUnicodeString(dir.File("in.zrb")), wantsSlots), 1) << c.what;
    EXPECT_EQ(Describe(manager), c.objects) << c.what;
  }
}

TEST(ZRBObjectManagerRead, ReadingAgainKeepsOnlyTheCurrentContentAndFailuresLeaveNone) {
  ScratchDir dir;
  WriteBytes(dir.File("old.zrb"), "@OLD\n{X} 1\n@B\n");
  WriteBytes(dir.File("new.zrb"), "@C\n");
  for (const std::string& path : {dir.File("new.zrb"), dir.File("missing.zrb"), dir.Path()}) {
    ZRBObjectManager manager;
    ASSERT_EQ(manager.Read(CADUnicodeString(dir.File("old.zrb"))), 1);
    TraceCapture trace;
    const bool readable = path == dir.File("new.zrb");
    EXPECT_EQ(manager.Read(CADUnicodeString(path)), readable ? 1 : 0) << path;
    EXPECT_EQ(Describe(manager), readable ? "@C" : "") << path;
    EXPECT_EQ(trace.Text().find("ZRBObjectManager: Could not") != std::string::npos, !readable) << trace.Text();
  }
}

// Records the observer calls as text, from a reader that may keep slot lines unparsed.
class Recorder : public ZRBObjectReadObserver {
 public:
  explicit Recorder(bool wantsSlots = true) : wantsSlots_(wantsSlots) {}
  bool WantsSlots() const override { return wantsSlots_; }
  void OnObject(long line, std::string_view key) override {
    log += "object " + std::to_string(line) + " " + std::string(key) + ";";
  }
  void OnSlot(long line, std::string_view name, std::string_view, ZRBSlotStore result) override {
    static const char* const kResult[] = {"whole", "cut", "refused"};
    log += "slot " + std::to_string(line) + " " + std::string(name) + " " + kResult[static_cast<int>(result)] + ";";
  }
  void OnStop(long line, std::string_view text) override {
    log += "stop " + std::to_string(line) + " [" + std::string(text) + "];";
  }
  std::string log;

 private:
  bool wantsSlots_;
};

TEST(ZRBObjectManagerRead, ObserverHearsLineNumbersAndTheStop) {
  ScratchDir dir;
  WriteBytes(dir.File("f.zrb"), "@A\r\n\r\n  {X} 1\r\n{Y} " + std::string(16301, 'y') + "\n{{} 3\n\n@B\ngarbage\n@C\n");
  ZRBObjectManager manager;
  Recorder recorder;
  EXPECT_EQ(manager.Read(CADUnicodeString(dir.File("f.zrb")), recorder), 1);
  EXPECT_EQ(recorder.log, "object 1 A;slot 3 X whole;slot 4 Y cut;slot 5 { refused;object 7 B;stop 8 [garbage];");
}

TEST(ZRBObjectManagerRead, KeptAndParsedSlotsAgreeAcrossTheReadersBuffer) {
  // Objects of varied slot lines, blanks, CRLFs and stray lines, far more than one buffer holds.
  std::mt19937 random(4711);
  const std::string pieces[] = {"{NAME} v\n",
                                "{Name} other value\n",
                                "{X} 1\r\n",
                                "\n",
                                "  {IND} i\n",
                                "{NAME}  x \n",
                                "{L} " + std::string(3000, 'l') + "\n",
                                "{{B} 2\n"};
  std::string bytes;
  for (int object = 0; object < 3000; ++object) {
    bytes += "@K" + std::to_string(object) + "\n";
    for (int line = static_cast<int>(random() % 8); line > 0; --line) {
      bytes += pieces[random() % 8];
    }
  }
  bytes += "{LAST} no line feed";
  ScratchDir dir;
  WriteBytes(dir.File("in.zrb"), bytes);
  ZRBObjectManager kept, parsed;
  Recorder keptLog(false), parsedLog(true);
  ASSERT_EQ(kept.Read(CADUnicodeString(dir.File("in.zrb")), keptLog), 1);
  ASSERT_EQ(parsed.Read(CADUnicodeString(dir.File("in.zrb")), parsedLog), 1);
  EXPECT_EQ(kept.GetObjectCount(), 3000);
  EXPECT_EQ(Describe(kept), Describe(parsed));
  EXPECT_EQ(keptLog.log, std::regex_replace(parsedLog.log, std::regex("slot [^;]*;"), ""));
}
}  // namespace
