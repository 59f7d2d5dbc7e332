#include <gtest/gtest.h>

#include "MessagesFixture.h"

namespace {

using BuildMessageTest = MessagesFixture;

TEST_F(BuildMessageTest, ThePrefixSelectsSiteOverridesAndFallsBackToTheStandardText) {
  WriteSiteCatalog("SAMZRBAfx.msg", "ConnectFailed = SAM could not be reached.\n");
  WriteSiteCatalog("SAMZRBMessageDialog.rsc", "ZRBOutputBox.VisibleTextWidth = 80\n");
  CADUnicodeString standardConnect = CADMsgCatalog::BuildMessage("ZRBAfx", "ZRBAfx.ConnectFailed");
  CADUnicodeString path("/data/rel");
  CADUnicodeString standardCache = CADMsgCatalog::BuildMessage("ZRBAfx", "ZRBAfx.ReleasedCacheDirNotExists", &path, 1);
  ASSERT_FALSE(standardConnect.IsEmpty());
  ASSERT_NE(standardCache.Find("/data/rel"), -1);

  struct Case {
    const char* prefix;
    const char* key;
    const char* defaultText;
    CADUnicodeString expected;
  };
  const std::vector<Case> cases = {
      {"", "ZRBAfx.ConnectFailed", "", standardConnect},
      {"SAM", "ZRBAfx.ConnectFailed", "", "SAM could not be reached."},
      {"SAM", "ZRBAfx.ReleasedCacheDirNotExists", "", standardCache},  // no override: standard text
      {"SAM", "ZRBAfx.NoSuchKey", "", ""},
      {"SAM", "ZRBAfx.NoSuchKey", "given default", "given default"},
      {"SAM", "ZRBAfx.ReleasedCacheDirNotExists", "given default", "given default"},  // the caller's default wins
      {"", "ZRBAfx.NoSuchKey", "given default", "given default"},
      {"OTHER", "ZRBAfx.ConnectFailed", "", standardConnect},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.prefix) + " " + c.key);
    SetPrefix(c.prefix);
    CADUnicodeString parameter = path;
    EXPECT_EQ(ZRBAfx::BuildMessage("ZRBAfx", c.key, &parameter, 1, c.defaultText), c.expected);
  }

  SetPrefix("SAM");
  EXPECT_EQ(ZRBAfx::BuildResource("ZRBMessageDialog", "ZRBMessageDialog.ZRBOutputBox.VisibleTextWidth"),
            CADUnicodeString("80"));
  EXPECT_EQ(ZRBAfx::BuildResource("ZRBMessageDialog", "ZRBMessageDialog.ZRBStatusIcon2.Icon"),
            CADUnicodeString("I_ZRBFailure"));
  EXPECT_EQ(ZRBAfx::BuildResource("ZRBMessageDialog", "ZRBMessageDialog.Nope", nullptr, 0, "7"), CADUnicodeString("7"));
  SetPrefix("");
  EXPECT_EQ(ZRBAfx::BuildResource("ZRBMessageDialog", "ZRBMessageDialog.ZRBOutputBox.VisibleTextWidth"),
            CADUnicodeString("60"));
}

TEST_F(BuildMessageTest, FilesInTheExchangeMapAreNamedByTheirNameAlone) {
  g_ZRBConfig.ChangeEnvVar("ZRBXMAP", "/data/xmap/", 1);
  struct Case {
    const char* path;
    const char* shown;
  };
  for (auto c : {Case{"/data/xmap/part.prt", ""}, Case{"/data/xmap/sub/part.prt", "/data/xmap/sub/part.prt"},
                 Case{"/data/other/part.prt", "/data/other/part.prt"}, Case{"part.prt", "part.prt"}})
    EXPECT_EQ(ZRBAfx::GetMessageDisplayFromPath(c.path), CADUnicodeString(c.shown)) << c.path;
}

}  // namespace
