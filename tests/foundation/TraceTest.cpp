#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CADClock.h"
#include "SampleSession.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBTrace.h"
#include "ZRBTraceUtil.h"

namespace {

// Captures the trace channel with a predictable clock.
class TraceCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ZRBTrace::SetStream(&out_);
    SetClock(1700000000, 5);
    g_ZRBConfig.SetDebug(1);
  }
  void TearDown() override {
    g_ZRBConfig.SetDebug(0);
    CADClock::SetOverride({});
    ZRBTrace::SetStream(nullptr);
  }
  static void SetClock(std::uint64_t seconds, unsigned short millis) {
    CADClock::SetOverride([=] { return CADTimeB{seconds, millis}; });
  }
  std::string Take() {
    std::string s = out_.str();
    out_.str("");
    return s;
  }

  std::ostringstream out_;
};

// A method with several exits, as module methods are written.
int Step(int path) {
  ZRB_TRACE("ZRBSample::Step");
  if (path == 1) return 0;  // early failure
  if (path == 2) {
    ZRB_TRACE_OK();
    return 1;
  }
  ZRB_DEBUG("ZRB: path %d taken", path);
  return 0;  // late failure
}

TEST_F(TraceCapture, WritesTheExactLineOfEachExitPath) {
  struct Case {
    int path;
    const char* expected;
  };
  for (const Case& c :
       {Case{1, "ZRB: [1700000000 5] ZRBSample::Step start \nZRB: [1700000000 5]  ZRBSample::Step end   \n"},
        Case{2, "ZRB: [1700000000 5] ZRBSample::Step start \nZRB: [1700000000 5]  ZRBSample::Step end OK\n"},
        Case{3,
             "ZRB: [1700000000 5] ZRBSample::Step start \nZRB: path 3 taken\n"
             "ZRB: [1700000000 5]  ZRBSample::Step end   \n"}}) {
    Step(c.path);
    EXPECT_EQ(Take(), c.expected) << "path " << c.path;
  }
}

TEST_F(TraceCapture, StampsAreUnpaddedDecimalNumbersTakenPerLine) {
  struct Case {
    std::uint64_t seconds;
    unsigned short millis;
    const char* stamp;
  };
  for (const Case& c :
       {Case{1700000000, 5, "[1700000000 5]"}, Case{1700000000, 0, "[1700000000 0]"},
        Case{1700000000, 50, "[1700000000 50]"}, Case{4102444800, 999, "[4102444800 999]"}, Case{0, 7, "[0 7]"}}) {
    SetClock(c.seconds, c.millis);
    { ZRB_TRACE("ZRBSample::Stamp"); }
    const std::string text = Take();
    EXPECT_EQ(text, std::string("ZRB: ") + c.stamp + " ZRBSample::Stamp start \nZRB: " + c.stamp +
                        "  ZRBSample::Stamp end   \n");
  }

  // Entry and exit carry their own stamps, so a call shows its duration.
  std::atomic<unsigned short> tick{100};
  CADClock::SetOverride([&] { return CADTimeB{1700000000, tick++}; });
  { ZRB_TRACE("ZRBSample::Timed"); }
  EXPECT_EQ(Take(), "ZRB: [1700000000 100] ZRBSample::Timed start \nZRB: [1700000000 101]  ZRBSample::Timed end   \n");
}

int g_formatted = 0;
const char* Expensive() {
  ++g_formatted;
  return "text";
}

TEST_F(TraceCapture, NothingAtAllIsWrittenOrBuiltWithTheSwitchOffServiceLinesIncluded) {
  g_ZRBConfig.SetDebug(0);
  std::atomic<int> clockReads{0};
  CADClock::SetOverride([&] {
    ++clockReads;
    return CADTimeB{1, 1};
  });
  g_formatted = 0;
  for (int path = 1; path <= 3; ++path) Step(path);
  ZRB_DEBUG("ZRB: %s", Expensive());
  ZRBTraceUtil::PrintStringList("Title", CADListValCADString{"a"});
  ZRBTraceUtil::PrintStringList("Title", CADListValCADUnicodeString{"b"});
  g_ZRBConfig.LoadConfigFile("/nonexistent/zrb-config.xml");  // the service's own line
  EXPECT_EQ(Take(), "");
  EXPECT_EQ(g_formatted, 0);
  EXPECT_EQ(clockReads, 0);
  g_ZRBConfig.SetDebug(1);  // the service's lines share the trace stream
  g_ZRBConfig.LoadConfigFile("/nonexistent/zrb-config.xml");
  EXPECT_EQ(Take(),
            "ZRB: ZRBConfigTopicManager: configuration file '/nonexistent/zrb-config.xml' not used (cannot open: No "
            "such file or directory); no categories, extensions or behaviors are configured\n");
  g_ZRBConfig.LoadConfigFile(nullptr);
}

TEST_F(TraceCapture, SwitchIsTestedAfreshBeforeEveryLine) {
  {
    ZRB_TRACE("ZRBSample::Toggle");
    g_ZRBConfig.SetDebug(0);
    ZRB_DEBUG("ZRB: hidden");
    g_ZRBConfig.SetDebug(2);  // any non-zero value is on
    ZRB_DEBUG("ZRB: shown");
  }
  EXPECT_EQ(
      Take(),
      "ZRB: [1700000000 5] ZRBSample::Toggle start \nZRB: shown\nZRB: [1700000000 5]  ZRBSample::Toggle end   \n");
}

TEST_F(TraceCapture, StringListsPrintIndexedItemsUnderTheirOwnTraceNames) {
  ZRBTraceUtil::PrintStringList("Files:", CADListValCADString{"a.CADPart", "", "b [1]"});
  EXPECT_EQ(Take(),
            "ZRB: [1700000000 5] ZRBTraceUtil::PrintStringList start \n"
            "Files:\n1.[a.CADPart]\n2.[]\n3.[b [1]]\n"
            "ZRB: [1700000000 5]  ZRBTraceUtil::PrintStringList end OK\n");
  ZRBTraceUtil::PrintStringList("Names", CADListValCADUnicodeString{"Grüße"});
  EXPECT_EQ(Take(),
            "ZRB: [1700000000 5] ZRBTraceUtil::PrintStringList2 start \n"
            "Names\n1.[Grüße]\n"
            "ZRB: [1700000000 5]  ZRBTraceUtil::PrintStringList2 end OK\n");
  ZRBTraceUtil::PrintStringList("Empty", CADListValCADUnicodeString{});
  EXPECT_NE(Take().find("PrintStringList2 start \nEmpty\nZRB: "), std::string::npos);
}

TEST_F(TraceCapture, LinesOfTwoThreadsNeverMixWithinALine) {
  std::atomic<bool> go{false};
  auto worker = [&](const char* name) {
    while (!go) std::this_thread::yield();
    for (int i = 0; i < 300; ++i) {
      ZRB_TRACE(name);
      ZRB_DEBUG("ZRB: %s line %d with some length to it", name, i);
    }
  };
  std::thread a(worker, "ZRBThreadA::Run"), b(worker, "ZRBThreadB::Run");
  go = true;
  a.join();
  b.join();
  const std::regex line(
      R"(ZRB: \[1700000000 5\] ZRBThread[AB]::Run start |ZRB: \[1700000000 5\]  ZRBThread[AB]::Run end   |)"
      R"(ZRB: ZRBThread[AB]::Run line \d+ with some length to it)");
  std::istringstream in(Take());
  int count = 0;
  for (std::string l; std::getline(in, l); ++count) EXPECT_TRUE(std::regex_match(l, line)) << l;
  EXPECT_EQ(count, 2 * 300 * 3);
}

// Node lines name real products of the sample assembly.
class TraceNodes : public TraceCapture {
 protected:
  std::string NodeLines(const std::string& line) {
    return "ZRB: [1700000000 5] ZRBTraceUtil::PrintNode start \n" + line +
           "\nZRB: [1700000000 5]  ZRBTraceUtil::PrintNode end OK\n";
  }
  SampleSession sample_;
};

class NotAProduct : public CADBaseUnknown {};

TEST_F(TraceNodes, NodeLineShowsPartNumberAndInstanceName) {
  CADIProduct_var root = sample_.OpenAssembly();
  ASSERT_NE(root, nullptr);
  const std::pair<CADIProduct_var, const char*> cases[] = {
      {root, "Node:\"Assembly(Assembly)\""},
      {SampleSession::Node(root, "Bracket.2/Bolt.1"), "Node:\"Bolt(Bolt.1)\""},
      {nullptr, "Node:\"null(null)\""},
  };
  for (const auto& [product, line] : cases) {
    ZRBTraceUtil::PrintNode("Node", product);
    EXPECT_EQ(Take(), NodeLines(line));
  }
}

TEST_F(TraceNodes, NodeListNumbersEachNodeAndTreatsNonProductsAsNull) {
  CADListValCADBaseUnknown_var nodes;
  nodes.Append(SampleSession::Node(sample_.OpenAssembly(), "Bracket.1"));
  nodes.Append(CADBaseUnknown_var::Adopt(new NotAProduct));
  ZRBTraceUtil::PrintNodeList("Children", nodes);
  EXPECT_EQ(Take(), "ZRB: [1700000000 5] ZRBTraceUtil::PrintNodeList start \nChildren\n1." +
                        NodeLines("Node:\"Bracket(Bracket.1)\"") + "2." + NodeLines("Node:\"null(null)\"") +
                        "ZRB: [1700000000 5]  ZRBTraceUtil::PrintNodeList end OK\n");
  g_ZRBConfig.SetDebug(0);
  ZRBTraceUtil::PrintNodeList("Children", nodes);
  EXPECT_EQ(Take(), "");
}

}  // namespace
