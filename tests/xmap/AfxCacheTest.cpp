// Where the exchange map and the host's caches are: the location of the map,
// the local cache that mirrors it, and the released cache of the host's settings.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CADApplicationFrame.h"
#include "CADDlgNotify.h"
#include "CADSettingRepository.h"
#include "CADSysCacheSettingCtrl.h"
#include "CADSystemServices.h"
#include "HostDialogFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBAfx.h"

namespace {

TEST(GetXMapTest, DropsOneTrailingSlashAndReportsWhetherTheVariableIsSet) {
  struct X {
    const char* value;  // null: not set
    int set;
    const char* path;  // null: the temporary directory
    const char* withSlash;
  };
  CADUnicodeString temporary;
  CADGetTempDirectory(temporary);
  for (const X& c : {X{"/data/xmap", 1, "/data/xmap", "/data/xmap/"}, X{"/data/xmap/", 1, "/data/xmap", "/data/xmap/"},
                     X{"/data/xmap//", 1, "/data/xmap/", "/data/xmap/"}, X{"/", 1, "/", "/"},
                     X{nullptr, 0, nullptr, nullptr}, X{"", 0, nullptr, nullptr}}) {
    SCOPED_TRACE(c.value ? c.value : "(none)");
    XmapScopedVariable xmapVariable("ZRBXMAP", c.value);
    CADUnicodeString path, slashed;
    EXPECT_EQ(ZRBAfx::GetXMap(path), c.set);
    EXPECT_EQ(path, c.path ? CADUnicodeString(c.path) : temporary);
    EXPECT_EQ(ZRBAfx::GetXMapWithEndingSlash(slashed), c.set);
    EXPECT_EQ(slashed, c.withSlash ? CADUnicodeString(c.withSlash) : temporary + "/");
  }
}

class AfxCacheTest : public HostDialogFixture {
 protected:
  void SetUp() override {
    HostDialogFixture::SetUp();
    CADSysCacheSettingCtrl::Reset();
  }
  void TearDown() override {
    CADSysCacheSettingCtrl::Reset();
    HostDialogFixture::TearDown();
  }
  void SetReleasedPaths(std::initializer_list<const char*> paths) {
    CADListValCADUnicodeString list;
    for (const char* path : paths) list.Append(path);
    CADSysCacheSettingCtrl::SetReleaseCachePaths(list);
  }
  static CADListValCADString ReleasedPaths() {
    CADListValCADString paths;
    EXPECT_EQ(ZRBAfx::GetReleasedCacheDirectories(paths), S_OK);
    return paths;
  }

  XmapScratchDirectory dir_;
};

TEST_F(AfxCacheTest, LocalCacheMirrorsTheExchangeMapBelowVis) {
  XmapScopedVariable xmapVariable("ZRBXMAP", "/tmp/xmap");
  Dialogs().SetSetting("CADCache", "LocalCacheDir", CADUnicodeString("${ZRBTEST_CACHE_ROOT}/cache"));
  ::setenv("ZRBTEST_CACHE_ROOT", "/home/u", 1);
  CADUnicodeString directory;
  ASSERT_EQ(ZRBAfx::GetLocalCacheXmapDir(directory), S_OK);
  EXPECT_EQ(directory, "/home/u/cache/vis/tmp/xmap/");
  ::unsetenv("ZRBTEST_CACHE_ROOT");
}

TEST_F(AfxCacheTest, ResetsTheLocalCacheThroughTheApplication) {
  XmapScopedVariable xmapVariable("ZRBXMAP", dir_.MakeDirectory("xmap").c_str());
  const std::string cache = dir_.MakeDirectory("cache");
  Dialogs().SetSetting("CADCache", "LocalCacheDir", CADUnicodeString(cache));
  EXPECT_EQ(ZRBAfx::ResetLocalCacheDirectory(), E_FAIL);  // the mirror does not exist yet
  dir_.MakeDirectory("cache/vis" + dir_.Path("xmap"));
  ASSERT_EQ(ZRBAfx::ResetLocalCacheDirectory(), S_OK);
  CADApplicationFrame* frame = CADApplicationFrame::GetFrame();
  EXPECT_EQ(frame->GetLocalCacheResetCount(), 1);
  CADUnicodeString localCache;
  frame->get_LocalCache(localCache);
  EXPECT_EQ(localCache, CADUnicodeString(cache));
}

TEST_F(AfxCacheTest, ReleasedCacheDirectoryComesFromTheVariableOrTheHostsFirstPath) {
  const std::string existing = dir_.MakeDirectory("Released");
  CADString directory;
  {
    // Nothing configured anywhere.
    XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", nullptr);
    ExpectBox("ZRBAfx.NoReleasedCache", CADDlgNfyAnswerOK);
    EXPECT_EQ(ZRBAfx::GetReleasedCacheDir(directory), E_FAIL);
  }
  {
    // Only the variable: the directory joins the host's paths.
    XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", existing.c_str());
    ASSERT_EQ(ZRBAfx::GetReleasedCacheDir(directory), S_OK);
    EXPECT_EQ(directory, CADString(existing));
    EXPECT_EQ(ReleasedPaths(), (CADListValCADString{CADString(existing)}));
  }
  SetReleasedPaths({"/shared/A", "/shared/B"});
  {
    XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", nullptr);
    ASSERT_EQ(ZRBAfx::GetReleasedCacheDir(directory), S_OK);
    EXPECT_EQ(directory, "/shared/A");
  }
  {
    // Compared ignoring case; the host's spelling wins.
    XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", "/SHARED/b");
    ASSERT_EQ(ZRBAfx::GetReleasedCacheDir(directory), S_OK);
    EXPECT_EQ(directory, "/shared/B");
  }
  {
    XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", dir_.Path("missing").c_str());
    ExpectBox("ZRBAfx.ReleasedCacheDirNotExists", CADDlgNfyAnswerOK);
    EXPECT_EQ(ZRBAfx::GetReleasedCacheDir(directory), E_FAIL);
    EXPECT_EQ(ReleasedPaths().Size(), 2);
  }
}

TEST_F(AfxCacheTest, ReleasedMirrorIsCreatedWhenTheCacheIsActive) {
  const std::string released = dir_.MakeDirectory("rel");
  const std::string xmap = dir_.MakeDirectory("x/map");
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap.c_str());
  XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", released.c_str());
  CADUnicodeString directory;
  int activated = 1;
  {
    XmapScopedVariable useVariable("ZRB_USERELEASEDCACHE", "OFF");
    ASSERT_EQ(ZRBAfx::GetReleasedCacheXmapDir(directory), S_OK);
    EXPECT_EQ(directory, "");
  }
  XmapScopedVariable useVariable("ZRB_USERELEASEDCACHE", "ON");
  ASSERT_EQ(ZRBAfx::GetReleasedCacheXmapDir(directory, activated), S_OK);  // activation is 0 at a normal site
  EXPECT_EQ(activated, 0);
  EXPECT_EQ(directory, "");
  Dialogs().SetSetting("CADCache", "CacheActivation", 1);
  ASSERT_EQ(ZRBAfx::GetReleasedCacheXmapDir(directory, activated), S_OK);
  EXPECT_EQ(activated, 1);
  EXPECT_EQ(directory, CADUnicodeString(released + "/vis" + xmap));
  EXPECT_TRUE(CADIsDirectory(directory));
  // Existing directories are fine the second time.
  ASSERT_EQ(ZRBAfx::GetReleasedCacheXmapDir(directory), S_OK);
  // The paths go back to the setting on request.
  ASSERT_EQ(ZRBAfx::ResetReleasedCacheDirectory(), S_OK);
  CADListValCADString written;
  ASSERT_EQ(CADSettingRepository::GetRepository("CADCache")->ReadSetting("ReleaseCachePath", &written), S_OK);
  EXPECT_EQ(written, (CADListValCADString{CADString(released)}));
}

}  // namespace
