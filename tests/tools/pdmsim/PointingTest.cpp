// Pointing into the session and back at the reference PDM alone: the relation paths `highlight` writes, read
// back from a show request (the session's order is the reverse), name the same items; relations that lead
// elsewhere and keys without objects are reported, not guessed; a refused call leaves nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "PdmSimHarness.h"

namespace {
using pdmsim::ExchangeFile;
using pdmsim::ExchangeObject;
using pdmsimtest::PdmSimHarness;
using Names = std::vector<std::string>;

TEST(Pointing, ShownItemsComeBackAsTheItemPathsThatWereHighlighted) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  const Names paths = {"GEARBOX/BOLT.2", "GEARBOX/SHAFT-ASM.1/SHAFT.1", "GEARBOX"};
  Names args = {"highlight", "--xmap", harness.Xmap()};
  args.insert(args.end(), paths.begin(), paths.end());
  harness.Admin(args);
  EXPECT_EQ(harness.SenderCalls(), Names{"StartCmd|ZRBHighlightCmd|Highlight.zrb|"});
  const ExchangeFile highlight = ExchangeFile::Parse(PdmSimHarness::ReadFile(harness.XmapFile("Highlight.zrb")));
  ASSERT_EQ(highlight.Find("ROOT")->GetList("ITEMLIST"), (Names{"HL_2", "HL_3"}));

  // The session's show request: the same items with their paths upward, one relation that leads elsewhere,
  // and a key without object.
  ExchangeFile show;
  show.Add("ROOT");
  Names keys;
  for (const ExchangeObject& object : highlight.Objects()) {
    ExchangeObject& item = show.Add("S" + std::to_string(keys.size() + 1));
    Names upward = object.GetList("NHA_ID_LIST");
    std::reverse(upward.begin(), upward.end());
    item.Set("EDESC_ID", object.Get("EDESC_ID"));
    item.SetList("NHA_ID_LIST", upward);
    keys.push_back(item.Key());
  }
  ExchangeObject& wrong = show.Add("WRONG");
  wrong.Set("EDESC_ID", highlight.Find("HL_2")->Get("EDESC_ID"));  // SHAFT, but by BOLT.2's relation
  wrong.SetList("NHA_ID_LIST", highlight.Find("ROOT")->GetList("NHA_ID_LIST"));
  ExchangeObject& root = *show.Find("ROOT");  // the objects are in place: the reference stays valid
  root.SetList("ITEMLIST", {keys[0], keys[1], "WRONG", "GONE"});
  root.SetList("PRODUCT_ITEMLIST", {keys[2]});
  const std::string request = harness.XmapFile("HighlightInWB.zrb");
  std::string bytes;
  ASSERT_TRUE(show.Serialize(bytes, nullptr));
  PdmSimHarness::WriteFile(request, bytes);

  ASSERT_EQ(harness.Session("x3HighlightInWB", request).exitCode, 0);
  const ExchangeFile answer = ExchangeFile::Parse(PdmSimHarness::ReadFile(request));
  EXPECT_EQ(answer.Find("ROOT")->Get("ACTION_SUCCESS"), "3");
  EXPECT_EQ(answer.Find("ROOT")->GetList("STATS").size(), 2u);
  const std::string journal = harness.Admin({"journal"});
  EXPECT_NE(journal.find("shown GEARBOX/BOLT.2, GEARBOX/SHAFT-ASM.1/SHAFT.1, GEARBOX;"), std::string::npos) << journal;
  EXPECT_NE(journal.find("not found WRONG: relation"), std::string::npos) << journal;
  EXPECT_NE(journal.find("not found GONE: the request has no object GONE"), std::string::npos) << journal;
}

TEST(Pointing, ARefusedCallLeavesNothingInTheExchangeMap) {
  PdmSimHarness harness;
  harness.FillSampleVault();
  struct Case {
    Names args;
    bool senderFails;
    int exitCode;
  };
  const Case cases[] = {
      {{"workplane", "--xmap", harness.Xmap(), "GEARBOX/BOLT.9"}, false, 2},
      {{"highlight", "--xmap", harness.Xmap(), "GEARBOX", "NOTHING"}, false, 2},
      {{"workplane", "--xmap", harness.Root() + "/none", "GEARBOX"}, false, 2},
      {{"workplane", "--xmap", harness.Xmap(), "GEARBOX/SHAFT-ASM.1"}, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    if (c.senderFails) harness.MakeSenderFail();
    EXPECT_EQ(harness.Run("pdmsim", c.args).exitCode, c.exitCode);
  }
  EXPECT_FALSE(PdmSimHarness::Exists(harness.XmapFile("Highlight.zrb")));
  EXPECT_EQ(harness.Run("pdmsim", {"journal"}).out, "no session calls yet\n");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(harness.Xmap())) ++files;
  EXPECT_EQ(files, 0u);
}

}  // namespace
