// The exchange map is a directory other users can write to: nothing the module writes there may follow a link
// planted at the file's name; a relative exchange map is made absolute once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "XmapScratchDirectory.h"
#include "ZRBAfxCache.h"
#include "ZRBCache.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManagerFileIO.h"

namespace {

class WriteThroughLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    xmap_ = scratch_.MakeDirectory("xmap");
    sentinel_ = scratch_.Write("outside/victim", "precious\n");
    GlobZRBCache.ResetForTests();
  }
  void TearDown() override { GlobZRBCache.ResetForTests(); }

  bool IsRegularFile(const std::string& relative) const {
    struct stat st {};
    return ::lstat(scratch_.Path(relative).c_str(), &st) == 0 && S_ISREG(st.st_mode);
  }

  XmapScratchDirectory scratch_;
  std::string xmap_;
  std::string sentinel_;
};

TEST_F(WriteThroughLinkTest, EveryFileTheModuleWritesReplacesALinkAndLeavesItsTargetAlone) {
  XmapScopedVariable map("ZRBXMAP", xmap_.c_str());
  // A registered document, so that the content file and the PDM's list have something to say.
  scratch_.Write("xmap/A.CADPart", "part");
  struct Case {
    const char* name;
    std::function<void(const std::string& path)> write;
  } cases[] = {
      {"xfile.zrb",
       [](const std::string& path) {
         ZRBObjectManager request;
         request.CreateObject("COMMAND")->SetSlotValue("COMMAND", "REQUEST_READ");
         EXPECT_EQ(request.Write(path.c_str()), 1);
       }},
      {"xmapfiles.zrb", [](const std::string& path) { EXPECT_EQ(GlobZRBCache.WriteContentForPdm(path.c_str()), 1); }},
      {"content.zrb", [](const std::string&) { GlobZRBCache.Write(); }},
      {"props.xml",
       [](const std::string& path) { EXPECT_EQ(ZRBPropertyManagerFileIO::WriteWhole(path.c_str(), "<x/>"), 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GlobZRBCache.ResetForTests();
    GlobZRBCache.Load();
    GlobZRBCache.UpdateXMapFile("OB1", "2026-01-02 03:04:05", (xmap_ + "/A.CADPart").c_str(), "DB", "CL");
    const std::string relative = std::string("xmap/") + c.name;
    ::unlink(scratch_.Path(relative).c_str());
    scratch_.Symlink(relative, sentinel_);
    c.write(scratch_.Path(relative));
    EXPECT_EQ(scratch_.Read("outside/victim"), "precious\n");
    EXPECT_TRUE(IsRegularFile(relative));
  }
}

TEST_F(WriteThroughLinkTest, WithTheExchangeMapUnsetNoContentFileIsWrittenIntoTheOneFollowedLast) {
  {
    XmapScopedVariable map("ZRBXMAP", xmap_.c_str());
    GlobZRBCache.Load();
    scratch_.Write("xmap/A.CADPart", "part");
    GlobZRBCache.UpdateXMapFile("OB1", "2026-01-02 03:04:05", (xmap_ + "/A.CADPart").c_str(), "DB", "CL");
  }
  XmapScopedVariable unset("ZRBXMAP", nullptr);
  GlobZRBCache.Write();  // what every command's destructor does
  GlobZRBCache.ResetForTests();
  EXPECT_FALSE(scratch_.Exists("xmap/content.zrb"));
}

TEST_F(WriteThroughLinkTest, ARelativeExchangeMapIsMadeAbsoluteOnceAndStaysSo) {
  char cwd[4096];
  ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
  ASSERT_EQ(::chdir(scratch_.Root().c_str()), 0);
  XmapScopedVariable map("ZRBXMAP", "xmap/sub/../");
  scratch_.MakeDirectory("xmap/sub");
  CADUnicodeString first;
  EXPECT_EQ(ZRBAfxCache::GetXMap(first), 1);
  ASSERT_EQ(::chdir("/"), 0);
  CADUnicodeString later;
  ZRBAfxCache::GetXMap(later);
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_EQ(first.str(), xmap_);
  EXPECT_EQ(later.str(), xmap_);
}

}  // namespace
