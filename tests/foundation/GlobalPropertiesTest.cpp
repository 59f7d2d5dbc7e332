#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>

#include "CADClock.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBTrace.h"

namespace {

class GlobalProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    g_ZRBConfig.ResetForTests();
    ZRBGlobalProperties::Process().Reset();
    // The prefix variables may be set on a developer's machine.
    g_ZRBConfig.ChangeEnvVar("ZRB_ADDTEMP_PRAEFIX1", nullptr, 0);
    g_ZRBConfig.ChangeEnvVar("ZRB_ADDTEMP_PRAEFIX2", nullptr, 0);
    g_ZRBConfig.ChangeEnvVar("SAM_ZRB_ADDTEMP_PRAEFIX1", nullptr, 0);
    g_ZRBConfig.ChangeEnvVar("SAM_ZRB_ADDTEMP_PRAEFIX2", nullptr, 0);
  }
  void TearDown() override {
    ZRBTrace::SetStream(nullptr);
    ZRBGlobalProperties::Process().Reset();
    g_ZRBConfig.ResetForTests();
  }
  ZRBGlobalProperties& globals_ = ZRBGlobalProperties::Process();
};

TEST_F(GlobalProperties, UnconfiguredNamesWorkButLeaveOneDebugLinePerOperation) {
  std::ostringstream out;
  ZRBTrace::SetStream(&out);
  g_ZRBConfig.SetDebug(1);

  globals_.SetGlobalProperty("ZRB_MESSAGE_PREFIX", "SAM");
  globals_.GetGlobalProperty("ZRB_PRODUCT_SUPPORT");
  globals_.IsGlobalPropertySet("ZRB_CONNECTION_CMD");
  EXPECT_EQ(out.str(), "");  // configured names are silent

  globals_.SetGlobalProperty("MY_SITE_FLAG", "1");
  EXPECT_EQ(globals_.GetGlobalProperty("MY_SITE_FLAG"), CADUnicodeString("1"));
  EXPECT_EQ(globals_.IsGlobalPropertySet("MY_SITE_FLAG"), 1);
  EXPECT_EQ(globals_.DeleteGlobalProperty("MY_SITE_FLAG"), 1);
  EXPECT_EQ(out.str(),
            "Set Global Property 'MY_SITE_FLAG' not configured!\n"
            "Get Global Property 'MY_SITE_FLAG' not configured!\n"
            "IsSet Global Property 'MY_SITE_FLAG' not configured!\n"
            "Delete Global Property 'MY_SITE_FLAG' not configured!\n");
}

TEST_F(GlobalProperties, TemporaryIdentifiersOnlyEverGrowAndAnExhaustedCounterGivesNoneRatherThanARepeat) {
  for (int i = 0; i < 7; ++i) EXPECT_EQ(globals_.GetNewTmpId(), CADUnicodeString::BuildFromNum("%d", i));
  globals_.SetTmpCounter(5);
  EXPECT_EQ(globals_.GetTempCounter(), 7);
  // The second client reads its own prefix variables.
  g_ZRBConfig.SetModulePrefix("SAM_");
  g_ZRBConfig.ChangeEnvVar("ZRB_ADDTEMP_PRAEFIX1", "S", 1);
  globals_.SetTmpCounter(20);
  EXPECT_EQ(globals_.GetNewTmpId(), CADUnicodeString("S20"));
  globals_.SetTmpCounter(INT_MAX - 1);
  EXPECT_EQ(globals_.GetNewTmpId(), CADUnicodeString("S2147483646"));
  EXPECT_EQ(globals_.GetNewTmpId(), CADUnicodeString(""));
  EXPECT_EQ(globals_.GetNewTmpId(), CADUnicodeString(""));
  EXPECT_EQ(globals_.GetTempCounter(), INT_MAX);
}

}  // namespace
