#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ZRBConfigFileCategory.h"
#include "ZRBConfigTopicManager.h"

namespace {

class ConfigData : public ::testing::Test {
 protected:
  void SetUp() override {
    ZRBConfigData data;
    data.AddFileCategory({"CADPart", "STD_*", "StandardPart", 1});
    data.AddFileCategory({"CADPart", "", "MechanicalPart", 0});
    data.AddFileCategory({"CADDrawing", "", "Zeichnung\xE2\x82\xAC", 0});  // ends in a 3-byte sequence
    data.AddBehavior("EmbeddedNodeBehavior", "SkipNode", "STD-");
    data.AddBehavior("ProductNodeBehavior", "IgnoreNodeAndWarn", "STD-");
    data.AddBehavior("ProductNodeBehavior", "IgnoreNode", "STD-M");
    data.AddBehavior("ProductNodeBehavior", "Anything", "");
    config_.SetConfigData(std::move(data));
  }

  std::string Behaviors(const CADListPtrZRBConfigurableBehavior& list) {
    std::string out;
    for (const ZRBConfigurableBehavior* b : list) out += (out.empty() ? "" : ",") + b->GetBehavior().str();
    return out;
  }

  ZRBConfigTopicManager config_;
};

TEST_F(ConfigData, FileCategoryTakesTheFirstMatchingEntry) {
  struct Case {
    const char* type;
    const char* file;
    int found;
    const char* category;
    int link;
  };
  const Case cases[] = {
      {"CADPart", "STD_screw.CADPart", 1, "StandardPart", 1},
      {"CADPart", "bracket.CADPart", 1, "MechanicalPart", 0},
      {"CADPart", nullptr, 1, "MechanicalPart", 0},
      {"CADPart", "std_screw.CADPart", 1, "MechanicalPart", 0},  // patterns are case-sensitive
      {"cadpart", "bracket.cadpart", 0, "", 0},
      {"CADProduct", "a.CADProduct", 0, "", 0},
      {nullptr, "a", 0, "", 0},
  };
  for (const Case& c : cases) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    int link = -1;
    EXPECT_EQ(config_.GetFileCategory(c.type, c.file, buffer, sizeof buffer, &link), c.found) << c.type;
    EXPECT_STREQ(buffer, c.category);
    EXPECT_EQ(link, c.link);
  }
}

TEST_F(ConfigData, FileCategoryCopiesAtMostSizeMinusOneWholeCharacters) {
  struct Case {
    int size;
    const char* expected;
  };
  // "Zeichnung€": 9 ASCII bytes and a 3-byte euro sign.
  for (const Case& c : {Case{1, ""}, Case{2, "Z"}, Case{10, "Zeichnung"}, Case{11, "Zeichnung"}, Case{12, "Zeichnung"},
                        Case{13, "Zeichnung\xE2\x82\xAC"}, Case{255, "Zeichnung\xE2\x82\xAC"}}) {
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(config_.GetFileCategory("CADDrawing", "d.CADDrawing", buffer, c.size, nullptr), 1);
    EXPECT_STREQ(buffer, c.expected) << "size " << c.size;
    EXPECT_EQ(buffer[c.size], 'x') << "wrote past size " << c.size;
  }
  // No buffer to write into: the answer is still given, nothing is touched.
  char guard = 'g';
  EXPECT_EQ(config_.GetFileCategory("CADPart", "a", &guard, 0, nullptr), 1);
  EXPECT_EQ(config_.GetFileCategory("CADPart", "a", nullptr, 256, nullptr), 1);
  EXPECT_EQ(config_.GetFileCategory("CADPart", "a", &guard, -5, nullptr), 1);
  EXPECT_EQ(guard, 'g');
}

TEST(ConfigFileCategoryPattern, WildcardsMatchWholeNames) {
  static const std::string kManyA(2000, 'a');
  struct Case {
    const char* pattern;
    const char* text;
    bool match;
  };
  for (const Case& c :
       {Case{"*", "", true}, Case{"*", "anything", true}, Case{"STD_*", "STD_", true}, Case{"STD_*", "XSTD_a", false},
        Case{"*.CADPart", "a.CADPart", true}, Case{"*.CADPart", "a.CADPart.bak", false}, Case{"a?c", "abc", true},
        Case{"a?c", "ac", false}, Case{"*a*b*c*", "xxaxxbxxcxx", true}, Case{"*a*b*c*", "xxaxxcxxbxx", false},
        Case{"abc", "abc", true}, Case{"abc", "abcd", false}, Case{"", "", true}, Case{"", "a", false},
        Case{"**?*", "x", true}, Case{"a*a*a*a*a*b", kManyA.c_str(), false}})
    EXPECT_EQ(ZRBConfigFileCategory::WildcardMatch(c.pattern, c.text), c.match) << c.pattern << " / " << c.text;
}

TEST_F(ConfigData, BehaviorFiltersKeepConfigurationOrderAndChain) {
  ZRBConfigBehaviorManager* manager = config_.GetConfigBehaviorManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(Behaviors(manager->GetListOfConfigurableBehaviors()), "SkipNode,IgnoreNodeAndWarn,IgnoreNode,Anything");

  struct Case {
    const char* partNumber;
    const char* byPrefix;
    const char* thenProduct;
  };
  const Case cases[] = {
      {"STD-M10", "SkipNode,IgnoreNodeAndWarn,IgnoreNode,Anything", "IgnoreNodeAndWarn,IgnoreNode,Anything"},
      {"STD-X", "SkipNode,IgnoreNodeAndWarn,Anything", "IgnoreNodeAndWarn,Anything"},
      {"STD", "Anything", "Anything"},  // the prefix must start the part number, not the other way round
      {"XSTD-M", "Anything", "Anything"},
      {"", "Anything", "Anything"},
  };
  for (const Case& c : cases) {
    CADListPtrZRBConfigurableBehavior byPrefix = manager->FilterForPartNumberPrefix(c.partNumber, nullptr);
    EXPECT_EQ(Behaviors(byPrefix), c.byPrefix) << c.partNumber;
    EXPECT_EQ(Behaviors(manager->FilterForBehaviorType("ProductNodeBehavior", &byPrefix)), c.thenProduct)
        << c.partNumber;
  }
  EXPECT_EQ(Behaviors(manager->FilterForBehaviorType("EmbeddedNodeBehavior", nullptr)), "SkipNode");
  EXPECT_EQ(manager->FilterForBehaviorType("embeddednodebehavior", nullptr).Size(), 0);

  // The manager outlives a change of the data and sees the new behaviours.
  config_.SetConfigData(ZRBConfigData());
  EXPECT_EQ(config_.GetConfigBehaviorManager(), manager);
  EXPECT_EQ(manager->GetListOfConfigurableBehaviors().Size(), 0);
}

}  // namespace
