// Time stamps set after a PDM answer touch only files of the exchange map,
// whatever path the answer names.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>

#include "CaseText.h"
#include "XmapScratchDirectory.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBFileUtil.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

namespace {

constexpr const char* kPdmDate = "2005-03-02 14:05:09.000";
constexpr long kPdmSeconds = 1109772309;  // that date in UTC
constexpr long kOld = 1000000000;

long ModTime(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? static_cast<long>(info.st_mtime) : -1;
}

struct LocationCase {
  // Shown in test names and failures instead of the bytes of the case.
  friend void PrintTo(const LocationCase& c, std::ostream* out) { *out << '"' << ZrbCaseText(c.what) << '"'; }
  const char* what;
  const char* xmap;  // null: "ZRBXMAP" not set
  const char* location;
  bool stamped;
};

class CacheFileLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(CacheFileLocationTest, StampsOnlyTheExchangeMapsFileOfThatName) {
  const LocationCase& c = GetParam();
  XmapScratchDirectory dir;
  const std::string inMap = dir.Write("xmap/f.CADPart");
  const std::string outside = dir.Write("outside/f.CADPart");
  dir.SetModTime("xmap/f.CADPart", kOld);
  dir.SetModTime("outside/f.CADPart", kOld);
  XmapScopedVariable xmapVariable("ZRBXMAP", c.xmap ? dir.Path(c.xmap).c_str() : nullptr);
  std::string location = c.location;
  if (location.rfind("OUTSIDE", 0) == 0) location = dir.Path("outside") + location.substr(7);

  ZRBObjectManager answer;
  answer.CreateObject("ROOT")->SetSlotValue("DOCCOMS", "F1");
  ZRBObject* file = answer.CreateObject("F1");
  file->SetSlotValue("EXTERNAL_LOCATION", CADString(location));
  file->SetSlotValue("MODIFICATION_DATE_GMT", kPdmDate);
  CADListValCADUnicodeString refresh;
  ZRBCacheFileUtil::ManageFilesForCache(answer, refresh);
  EXPECT_EQ(ModTime(inMap), c.stamped ? kPdmSeconds : kOld) << c.what;
  EXPECT_EQ(ModTime(outside), kOld) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, CacheFileLocationTest,
                         ::testing::Values(LocationCase{"a path elsewhere names the map's file", "xmap",
                                                        "OUTSIDE/f.CADPart", true},
                                           LocationCase{"a bare name", "xmap", "f.CADPart", true},
                                           LocationCase{"climbing out", "xmap", "../outside/f.CADPart", true},
                                           LocationCase{"the parent", "xmap", "OUTSIDE/..", false},
                                           LocationCase{"no exchange map", nullptr, "OUTSIDE/f.CADPart", false}));

struct SwitchCase {
  // Shown in test names and failures instead of the bytes of the case.
  friend void PrintTo(const SwitchCase& c, std::ostream* out) { *out << '"' << ZrbCaseText(c.released) << '"'; }
  const char* released;
  const char* stampingOff;
  bool skipped;
  bool stamped;
};

class CacheFileSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CacheFileSwitchTest, ReleasedCacheSkipsTheHandlingUnlessStampingIsOff) {
  const SwitchCase& c = GetParam();
  XmapScratchDirectory dir;
  const std::string inMap = dir.Write("xmap/f.CADPart");
  dir.SetModTime("xmap/f.CADPart", kOld);
  XmapScopedVariable xmapVariable("ZRBXMAP", dir.Path("xmap").c_str());
  XmapScopedVariable released("ZRB_USERELEASEDCACHE", c.released);
  XmapScopedVariable stampingOff("ZRB_DISABLE_SET_TIMESTAMP", c.stampingOff);
  ZRBObjectManager answer;
  answer.CreateObject("ROOT")->SetSlotValue("DOCCOMS", "F1");
  ZRBObject* file = answer.CreateObject("F1");
  file->SetSlotValue("EXTERNAL_LOCATION", "f.CADPart");
  file->SetSlotValue("MODIFICATION_DATE_GMT", kPdmDate);
  std::ostringstream trace;
  ZRBTrace::SetStream(&trace);
  const int debug = g_ZRBConfig.GetDebug();
  g_ZRBConfig.SetDebug(1);
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  g_ZRBConfig.SetDebug(debug);
  ZRBTrace::SetStream(nullptr);
  EXPECT_EQ(trace.str().find("MangeFilesForCache not used") != std::string::npos, c.skipped);
  EXPECT_EQ(ModTime(inMap), c.stamped ? kPdmSeconds : kOld);
}

INSTANTIATE_TEST_SUITE_P(Cases, CacheFileSwitchTest,
                         ::testing::Values(SwitchCase{nullptr, nullptr, false, true},
                                           SwitchCase{"ON", nullptr, true, false}, SwitchCase{"ON", "ON", false, false},
                                           SwitchCase{nullptr, "ON", false, false}));

}  // namespace
