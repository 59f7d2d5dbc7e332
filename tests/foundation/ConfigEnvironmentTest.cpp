#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ScopedEnv.h"
#include "ZRBConfigTopicManager.h"

namespace {

class ConfigEnvironment : public ::testing::Test {
 protected:
  void SetUp() override { g_ZRBConfig.ResetForTests(); }
  void TearDown() override { g_ZRBConfig.ResetForTests(); }

  static std::string Value(const char* name, int applyPrefix = 1) {
    const char* v = g_ZRBConfig.GetEnvVar(name, applyPrefix);
    return v ? v : "<unset>";
  }

  ScopedEnv env_;
};

TEST_F(ConfigEnvironment, LooksUpThePrefixedNameOnlyWithoutFallback) {
  env_.Set("ZRBXMAP", "/xmap/standard");
  env_.Set("SAM_ZRBXMAP", "/xmap/sam");
  env_.Set("ZRB_USE_CUSTEXT", "ON");
  env_.Set("SAM_ZRB_USE_CUSTEXT", nullptr);

  struct Case {
    const char* prefix;
    const char* name;
    int applyPrefix;
    const char* expected;
  };
  const Case cases[] = {
      {"", "ZRBXMAP", 1, "/xmap/standard"},
      {"SAM_", "ZRBXMAP", 1, "/xmap/sam"},
      {"SAM_", "ZRBXMAP", 0, "/xmap/standard"},
      // The second client must not inherit the standard client's switches.
      {"SAM_", "ZRB_USE_CUSTEXT", 1, "<unset>"},
      {"", "ZRB_USE_CUSTEXT", 1, "ON"},
  };
  for (const Case& c : cases) {
    g_ZRBConfig.SetModulePrefix(c.prefix);
    EXPECT_EQ(Value(c.name, c.applyPrefix), c.expected) << "prefix '" << c.prefix << "' name " << c.name;
  }
  g_ZRBConfig.SetModulePrefix("SAM_");
  EXPECT_EQ(g_ZRBConfig.GetModulePrefix(), CADUnicodeString("SAM_"));
}

TEST_F(ConfigEnvironment, OverridesWinStayInsideTheProcessAndFollowThePrefix) {
  env_.Set("ZRB_DESIGNTABLES", "0");
  EXPECT_EQ(g_ZRBConfig.ChangeEnvVar("ZRB_DESIGNTABLES", "1", 1), 1);
  EXPECT_EQ(Value("ZRB_DESIGNTABLES"), "1");
  EXPECT_EQ(g_ZRBConfig.CompareEnvVar("ZRB_DESIGNTABLES", "1", 1), 1);
  // Not exported: the environment that child processes inherit is untouched.
  EXPECT_STREQ(std::getenv("ZRB_DESIGNTABLES"), "0");

  // The override belongs to the full name it was written under.
  g_ZRBConfig.SetModulePrefix("SAM_");
  EXPECT_EQ(g_ZRBConfig.GetEnvVar("ZRB_DESIGNTABLES", 1), nullptr);
  g_ZRBConfig.ChangeEnvVar("CONNECTPORT", "4711", 1);
  EXPECT_EQ(Value("SAM_CONNECTPORT", 0), "4711");
  g_ZRBConfig.SetModulePrefix("");
  EXPECT_EQ(Value("CONNECTPORT"), "<unset>");

  // A null value masks a variable that the environment sets.
  g_ZRBConfig.ChangeEnvVar("ZRB_DESIGNTABLES", nullptr, 1);
  EXPECT_EQ(g_ZRBConfig.GetEnvVar("ZRB_DESIGNTABLES", 1), nullptr);
  EXPECT_EQ(g_ZRBConfig.ChangeEnvVar(nullptr, "x", 1), 0);

  g_ZRBConfig.ResetForTests();
  EXPECT_EQ(Value("ZRB_DESIGNTABLES"), "0");
}

TEST_F(ConfigEnvironment, CompareIsTrueOnlyWhenSetAndEqualCaseSensitive) {
  env_.Set("ZRB_TEST_SWITCH_ON", "ON");
  env_.Set("ZRB_TEST_SWITCH_LOWER", "on");
  env_.Set("ZRB_TEST_SWITCH_EMPTY", "");
  env_.Set("ZRB_TEST_SWITCH_UNSET", nullptr);
  struct Case {
    const char* name;
    const char* expected;
    int result;
  };
  for (const Case& c :
       {Case{"ZRB_TEST_SWITCH_ON", "ON", 1}, Case{"ZRB_TEST_SWITCH_LOWER", "ON", 0},
        Case{"ZRB_TEST_SWITCH_ON", "ON ", 0}, Case{"ZRB_TEST_SWITCH_EMPTY", "ON", 0},
        Case{"ZRB_TEST_SWITCH_EMPTY", "", 1}, Case{"ZRB_TEST_SWITCH_UNSET", "ON", 0},
        Case{"ZRB_TEST_SWITCH_UNSET", "", 0}, Case{"ZRB_TEST_SWITCH_ON", nullptr, 0}, Case{nullptr, "ON", 0}})
    EXPECT_EQ(g_ZRBConfig.CompareEnvVar(c.name, c.expected, 1), c.result)
        << (c.name ? c.name : "null") << " vs " << (c.expected ? c.expected : "null");
}

TEST_F(ConfigEnvironment, ReturnedTextsStayValidAfterLaterChanges) {
  g_ZRBConfig.ChangeEnvVar("ZRB_TEST_LIFETIME", "one", 1);
  const char* first = g_ZRBConfig.GetEnvVar("ZRB_TEST_LIFETIME", 1);
  env_.Set("ZRB_TEST_LIFETIME_ENV", "env-one");
  const char* fromEnv = g_ZRBConfig.GetEnvVar("ZRB_TEST_LIFETIME_ENV", 1);

  g_ZRBConfig.ChangeEnvVar("ZRB_TEST_LIFETIME", "two", 1);
  env_.Set("ZRB_TEST_LIFETIME_ENV", "env-two");
  EXPECT_EQ(Value("ZRB_TEST_LIFETIME"), "two");
  EXPECT_EQ(Value("ZRB_TEST_LIFETIME_ENV"), "env-two");
  g_ZRBConfig.ResetForTests();

  // Read through the old pointers after every change and a reset.
  EXPECT_STREQ(first, "one");
  EXPECT_STREQ(fromEnv, "env-one");
}

TEST_F(ConfigEnvironment, ConcurrentLookupsAndChangesKeepEveryTextWhole) {
  // The PDM worker thread reads settings while the user-interface thread
  // changes them; every text read must be one of the values written.
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; i < 2000; ++i) g_ZRBConfig.ChangeEnvVar("ZRB_TEST_RACE", (i % 2) ? "odd-value" : "even", 1);
    stop = true;
  });
  int bad = 0;
  while (!stop) {
    const char* v = g_ZRBConfig.GetEnvVar("ZRB_TEST_RACE", 1);
    if (v && std::strcmp(v, "odd-value") != 0 && std::strcmp(v, "even") != 0) ++bad;
  }
  writer.join();
  EXPECT_EQ(bad, 0);
}

TEST(ConfigDebugSwitch, ParsesOnOrNonZeroIntegers) {
  struct Case {
    const char* value;
    bool on;
  };
  for (const Case& c :
       {Case{nullptr, false}, Case{"", false}, Case{"ON", true}, Case{"on", false}, Case{"OFF", false}, Case{"1", true},
        Case{"0", false}, Case{"-2", true}, Case{"17", true}, Case{"  3", true}, Case{"3 ", true}, Case{"1x", false},
        Case{"abc", false}, Case{"00", false}, Case{"99999999999999999999", true}})
    EXPECT_EQ(ZRBConfigTopicManager::ParseDebugValue(c.value) != 0, c.on) << (c.value ? c.value : "null");
}

}  // namespace
