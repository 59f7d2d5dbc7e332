// Time stamps set after a PDM answer touch only files of the exchange map,
// whatever path the answer names, and only when the settings allow.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "XmapScratchDirectory.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

namespace {

constexpr long kPdmSeconds = 1109772309;  // the answer's date in UTC
constexpr long kOld = 1000000000;

long ModTime(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_mtime) : -1;
}

// Answers one file at `location`; returns the trace written meanwhile.
std::string Manage(const std::string& location) {
  ZRBObjectManager answer;
  answer.CreateObject("ROOT")->SetSlotValue("DOCCOMS", "F1");
  ZRBObject* file = answer.CreateObject("F1");
  file->SetSlotValue("EXTERNAL_LOCATION", CADString(location));
  file->SetSlotValue("MODIFICATION_DATE_GMT", "2005-03-02 14:05:09.000");
  std::ostringstream trace;
  ZRBTrace::SetStream(&trace);
  const int debug = g_ZRBConfig.GetDebug();
  g_ZRBConfig.SetDebug(1);
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  g_ZRBConfig.SetDebug(debug);
  ZRBTrace::SetStream(nullptr);
  return trace.str();
}

TEST(CacheFileLocationTest, StampsOnlyTheExchangeMapsFileOfThatName) {
  struct L {
    const char* what;
    const char* xmap;  // null: "ZRBXMAP" not set
    const char* location;
    bool stamped;
  };
  for (const L& c :
       {L{"a path elsewhere names the map's file", "xmap", "OUTSIDE/f.CADPart", true},
        L{"a bare name", "xmap", "f.CADPart", true}, L{"climbing out", "xmap", "../outside/f.CADPart", true},
        L{"the parent", "xmap", "OUTSIDE/..", false}, L{"no exchange map", nullptr, "OUTSIDE/f.CADPart", false}}) {
    XmapScratchDirectory dir;
    const std::string inMap = dir.Write("xmap/f.CADPart"), outside = dir.Write("outside/f.CADPart");
    dir.SetModTime("xmap/f.CADPart", kOld);
    dir.SetModTime("outside/f.CADPart", kOld);
    XmapScopedVariable xmapVariable("ZRBXMAP", c.xmap ? dir.Path(c.xmap).c_str() : nullptr);
    std::string location = c.location;
    if (location.starts_with("OUTSIDE")) location = dir.Path("outside") + location.substr(7);
    Manage(location);
    EXPECT_EQ(ModTime(inMap), c.stamped ? kPdmSeconds : kOld) << c.what;
    EXPECT_EQ(ModTime(outside), kOld) << c.what;
  }
}

TEST(CacheFileLocationTest, ReleasedCacheSkipsTheHandlingUnlessStampingIsOff) {
  struct S {
    const char* released;
    const char* stampingOff;
    bool skipped, stamped;
  };
  for (const S& c : {S{nullptr, nullptr, false, true}, S{"ON", nullptr, true, false}, S{"ON", "ON", false, false},
                     S{nullptr, "ON", false, false}}) {
    XmapScratchDirectory dir;
    const std::string inMap = dir.Write("xmap/f.CADPart");
    dir.SetModTime("xmap/f.CADPart", kOld);
    XmapScopedVariable xmapVariable("ZRBXMAP", dir.Path("xmap").c_str());
    XmapScopedVariable released("ZRB_USERELEASEDCACHE", c.released);
    XmapScopedVariable stampingOff("ZRB_DISABLE_SET_TIMESTAMP", c.stampingOff);
    SCOPED_TRACE(std::string(c.released ? "released " : "") + (c.stampingOff ? "stamping off" : ""));
    EXPECT_EQ(Manage("f.CADPart").find("MangeFilesForCache not used") != std::string::npos, c.skipped);
    EXPECT_EQ(ModTime(inMap), c.stamped ? kPdmSeconds : kOld);
  }
}

}  // namespace
