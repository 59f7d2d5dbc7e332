// The process-wide cache: registration in the exchange map in use, the list
// for the PDM, modes, and what unloading does to the directories.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CADSysCacheSettingCtrl.h"
#include "HostDialogFixture.h"
#include "ScopedEnv.h"
#include "XmapFixtures.h"
#include "ZRBObjectManager.h"

namespace {

constexpr const char* kDate = "2024-03-04 05:06:07.000";

class CacheLifecycleTest : public HostDialogFixture {
 protected:
  void SetUp() override {
    HostDialogFixture::SetUp();
    CADSysCacheSettingCtrl::Reset();
    xmap_ = dir_.MakeDirectory("xmap");
  }
  void TearDown() override {
    CADSysCacheSettingCtrl::Reset();
    HostDialogFixture::TearDown();
  }
  void Register(ZRBCache& cache, const std::string& path, const char* obid = "OB") {
    cache.UpdateXMapFile(obid, kDate, CADString(path), "DB", "Part");
  }
  static std::vector<std::string> Listed(const ZRBXmapManager* manager) { return ListedNames(manager); }
  static std::vector<std::string> Keys(const std::string& listPath) {
    ZRBObjectManager list;
    std::vector<std::string> keys;
    if (!list.Read(CADUnicodeString(listPath))) return keys;
    for (ZRBObject* o = list.GetFirstObject(); o; o = list.GetNextObject(o)) keys.push_back(o->GetKey().str());
    return keys;
  }

  XmapScratchDirectory dir_;
  std::string xmap_;
};

TEST_F(CacheLifecycleTest, RegistersFilesAndTellsThePdm) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  ZRBCache cache;
  const std::string list = xmap_ + "/xmapfiles.zrb";
  dir_.Write("xmap/xmapfiles.zrb", "@OLD\n{MODTIME} x\n\n");
  // Nothing cached: the old list goes and no new one is written.
  EXPECT_EQ(cache.WriteContentForPdm(CADUnicodeString(list)), 0);
  EXPECT_FALSE(dir_.Exists("xmap/xmapfiles.zrb"));

  Register(cache, dir_.Write("xmap/a.CADPart"), "OA");
  Register(cache, dir_.Write("xmap/b.CADPart"), "OB");
  EXPECT_EQ(cache.XMapFileExist("OA", kDate, CADString(xmap_ + "/a.CADPart"), "DB", "Part"), 1);
  EXPECT_EQ(cache.XMapFileExist("OA", kDate, "a.CADPart", "DB", "Part"), 1);
  ASSERT_EQ(cache.WriteContentForPdm(CADUnicodeString(list)), 1);
  EXPECT_EQ(Keys(list), (std::vector<std::string>{"OA", "OB"}));
  cache.Write();
  ZRBCache reloaded;
  EXPECT_EQ(Listed(reloaded.GetXmapManager()), (std::vector<std::string>{"a.CADPart", "b.CADPart"}));
  reloaded.ResetForTests();
}

TEST_F(CacheLifecycleTest, WithoutAnExchangeMapNothingIsTouched) {
  const std::string temporary = dir_.MakeDirectory("tmp");
  ScopedEnv env;
  env.Set("TMPDIR", temporary.c_str());
  {
    XmapScopedVariable xmapVariable("ZRBXMAP", nullptr);
    XmapScopedVariable removeVariable("ZRB_REMOVE_UNKNOWN_FILES_IN_XMAP", "ON");
    ZRBCache cache;
    Register(cache, dir_.Write("tmp/a.CADPart"));
    EXPECT_EQ(cache.XMapFileExist("OB", kDate, CADString(temporary + "/a.CADPart"), "DB", "Part"), 0);
    EXPECT_EQ(cache.WriteContentForPdm(CADUnicodeString(temporary + "/xmapfiles.zrb")), 0);
    cache.Write();
    cache.Unload();
  }
  EXPECT_EQ(dir_.List("tmp"), (std::vector<std::string>{"a.CADPart"}));
}

TEST_F(CacheLifecycleTest, FollowsTheExchangeMapInUse) {
  const std::string other = dir_.MakeDirectory("other");
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  ZRBCache cache;
  Register(cache, dir_.Write("xmap/a.CADPart"), "OA");
  {
    // The second client's exchange map, for one command.
    XmapScopedVariable switched("ZRBXMAP", other.c_str());
    Register(cache, dir_.Write("other/b.CADPart"), "OB");
    // A file of the first map is neither registered nor advertised here.
    Register(cache, xmap_ + "/a.CADPart", "OA");
    EXPECT_EQ(Listed(cache.GetXmapManager()), (std::vector<std::string>{"b.CADPart"}));
    ASSERT_EQ(cache.WriteContentForPdm(CADUnicodeString(other + "/xmapfiles.zrb")), 1);
    EXPECT_EQ(Keys(other + "/xmapfiles.zrb"), (std::vector<std::string>{"OB"}));
  }
  // Back on the first map, its list was saved and is taken up again.
  EXPECT_EQ(cache.XMapFileExist("OA", kDate, "a.CADPart", "DB", "Part"), 1);
  EXPECT_EQ(Listed(cache.GetXmapManager()), (std::vector<std::string>{"a.CADPart"}));
  cache.Write();
  ZRBXmapManager second;
  second.SetContentFileFullPath(CADUnicodeString(other + "/content.zrb"));
  ASSERT_EQ(second.ReadContentFile(), 1);
  EXPECT_EQ(Listed(&second), (std::vector<std::string>{"b.CADPart"}));
}

TEST_F(CacheLifecycleTest, UnloadingTrimsTheExchangeMapOnlyAsConfigured) {
  struct U {
    const char* what;
    const char* removeUnknown;
    const char* sizeLimit;
    bool used;
    std::vector<std::string> left;
  };
  const std::vector<std::string> all = {"content.zrb", "edited.CADPart", "old.model", "stray.txt"};
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  for (const U& c :
       {U{"nothing configured", nullptr, nullptr, true, all},
        U{"unknown and locally changed files go", "ON", nullptr, true, {"content.zrb", "old.model"}},
        U{"a cache nobody used leaves the map alone", "ON", "0", false, all},
        U{"a limit of 0 MB empties the cache", nullptr, "0", true, {"content.zrb", "edited.CADPart", "stray.txt"}},
        U{"a limit that is not a number is ignored", nullptr, "ON", true, all},
        U{"a limit of 1 MB keeps the file", nullptr, "1", true, all}}) {
    {
      ZRBCache first;
      dir_.WriteSized("xmap/old.model", 700 * 1024);
      dir_.SetModTime("xmap/old.model", 1000);
      Register(first, xmap_ + "/old.model");
      dir_.WriteSized("xmap/edited.CADPart", 10);
      Register(first, xmap_ + "/edited.CADPart");
      first.Write();
      first.ResetForTests();
    }
    dir_.Write("xmap/edited.CADPart", "changed by the designer");
    dir_.SetModTime("xmap/edited.CADPart", 2000);
    dir_.Write("xmap/stray.txt");
    XmapScopedVariable removeVariable("ZRB_REMOVE_UNKNOWN_FILES_IN_XMAP", c.removeUnknown);
    XmapScopedVariable sizeVariable("ZRB_XMAP_CACHE_SIZE", c.sizeLimit);
    {
      ZRBCache cache;
      if (c.used) cache.Write();
    }
    EXPECT_EQ(dir_.List("xmap"), c.left) << c.what;
  }
}

TEST_F(CacheLifecycleTest, ReleasedCacheDropsAnotherObjectsFileOfTheSameDate) {
  const std::string released = dir_.MakeDirectory("rel");
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  XmapScopedVariable use("ZRB_USERELEASEDCACHE", "ON");
  XmapScopedVariable dirVariable("ZRB_RELEASEDCACHEDIR", released.c_str());
  Dialogs().SetSetting("CADCache", "CacheActivation", 1);
  const std::string mirror = "rel/vis" + xmap_;
  dir_.Write(mirror + "/stray.vis");
  dir_.Write(mirror + "/m.CADPart.vis");
  dir_.Write(mirror + "/n.CADPart.vis");
  {
    ZRBXmapManager seed;
    seed.SetContentFileFullPath(CADUnicodeString(dir_.Path(mirror + "/content.zrb")));
    seed.AddFile("OLD", kDate, "m.CADPart.vis", "DB", "Part");
    seed.AddFile("ON", kDate, "n.CADPart.vis", "DB", "Part");
    seed.Write();
  }
  ZRBCache cache;
  ASSERT_EQ(cache.GetWorkWithCache(), 1);
  // Unlisted vis files of the released cache go at once.
  EXPECT_FALSE(dir_.Exists(mirror + "/stray.vis"));
  Register(cache, dir_.Write("xmap/m.CADPart"), "NEW");
  Register(cache, dir_.Write("xmap/n.CADPart"), "ON");
  EXPECT_FALSE(dir_.Exists(mirror + "/m.CADPart.vis"));
  EXPECT_TRUE(dir_.Exists(mirror + "/n.CADPart.vis"));
  EXPECT_EQ(Listed(cache.GetRelMapManager()), (std::vector<std::string>{"n.CADPart.vis"}));
  cache.UpdateRelMapFile("OR", kDate, CADString(dir_.Write(mirror + "/r.CADPart.vis")), "DB", "Part");
  ASSERT_EQ(cache.WriteContentForPdm(CADUnicodeString(xmap_ + "/xmapfiles.zrb")), 1);
  EXPECT_EQ(Keys(xmap_ + "/xmapfiles.zrb"), (std::vector<std::string>{"NEW", "ON", "OR"}));
  cache.ResetForTests();
}

}  // namespace
