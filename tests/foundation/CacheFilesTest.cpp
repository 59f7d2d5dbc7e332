#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CADTime.h"
#include "XmapScratchDirectory.h"
#include "ZRBCacheFileContext.h"
#include "ZRBCacheFileEnvironment.h"
#include "ZRBCacheFileUtil.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFileUtil.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"

namespace {

constexpr long kOld = 1000000000;  // 2001-09-09 01:46:40 UTC
constexpr long kPdm = 1109772309;  // 2005-03-02 14:05:09 UTC
const char* const kPdmDate = "2005-03-02 14:05:09.000";

// A local cache in a scratch directory, time-stamped vis names in UTC.
class FakeCacheEnvironment : public ZRBCacheFileEnvironment {
 public:
  std::string cacheDir;
  std::vector<std::string> inSession;
  int resets = 0;
  HRESULT GetLocalCacheXmapDir(CADUnicodeString& directory) override {
    directory = cacheDir;
    return S_OK;
  }
  HRESULT ResetLocalCacheDirectory() override {
    ++resets;
    return S_OK;
  }
  HRESULT GetTimeSettings(int& daylight, int& format) override {
    daylight = 0;
    format = CADTime::UTC;
    return S_OK;
  }
  int GetCacheTimeStamp() override { return 1; }
  int IsFileInSession(const CADUnicodeString& path) override {
    return std::find(inSession.begin(), inSession.end(), path.str()) != inSession.end() ? 1 : 0;
  }
};

class ZRBCacheFiles : public testing::Test {
 protected:
  void SetUp() override {
    environment_.cacheDir = scratch_.MakeDirectory("cache");
    // The answers name files of the exchange map.
    g_ZRBConfig.ChangeEnvVar("ZRBXMAP", dir_.c_str(), 1);
    ZRBCacheFileEnvironment::Install(&environment_);
    g_ZRBConfig.SetDebug(1);
    ZRBTrace::SetStream(&trace_);
  }
  void TearDown() override {
    ZRBTrace::SetStream(nullptr);
    g_ZRBConfig.SetDebug(0);
    g_ZRBConfig.ResetForTests();
    ZRBCacheFileEnvironment::Install(nullptr);
  }

  std::string File(const std::string& name, long mtime = kOld) {
    const std::string path = scratch_.Write(name, name);
    scratch_.SetModTime(name, mtime);
    return path;
  }
  static long MTime(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_mtime) : -1;
  }
  static std::string Stamp(long seconds) {
    return CADTime(seconds).ConvertToString(".%Y-%m-%d-%H.%M.%S", CADTime::UTC).str();
  }
  std::vector<std::string> CacheEntries() const { return scratch_.List("cache"); }
  ZRBObject* FileObject(ZRBObjectManager& answer, const std::string& key, const std::string& path,
                        const std::string& date = kPdmDate) {
    ZRBObject* object = answer.CreateObject(CADString(key));
    object->SetSlotValue("EXTERNAL_LOCATION", CADString(path));
    object->SetSlotValue("MODIFICATION_DATE_GMT", CADString(date));
    return object;
  }

  XmapScratchDirectory scratch_;
  const std::string dir_ = scratch_.Root();
  FakeCacheEnvironment environment_;
  std::ostringstream trace_;
};

}  // namespace

TEST_F(ZRBCacheFiles, VisNameCarriesTheModelTime) {
  std::string model = File("name.CADPart", kPdm);
  CADUnicodeString name;
  EXPECT_EQ(ZRBFileUtil::GetVisFileNameInCacheDir("/c/name.vis", CADUnicodeString(model), 0, CADTime::UTC, name), S_OK);
  EXPECT_EQ(name, CADUnicodeString("/c/name.2005-03-02-14.05.09.vis"));
  EXPECT_EQ(ZRBFileUtil::GetVisFileNameInCacheDir("/c/a.vis.vis", CADUnicodeString(model), 0, 1, name), S_OK);
  EXPECT_EQ(name, CADUnicodeString("/c/a.vis.2005-03-02-14.05.09.vis"));  // before the last ".vis"
  EXPECT_EQ(ZRBFileUtil::GetVisFileNameInCacheDir("/c/name.model", CADUnicodeString(model), 0, 1, name), E_FAIL);
  EXPECT_EQ(ZRBFileUtil::GetVisFileNameInCacheDir("/c/name.vis", "/no/model", 0, 1, name), E_FAIL);
  EXPECT_TRUE(name.IsEmpty());
}

TEST_F(ZRBCacheFiles, TimeStampNeedsDigitsInEveryField) {
  struct Case {
    const char* date;
    bool set;
  };
  const Case cases[] = {
      {"2005-03-02 14:05:09.000", true},  {"2005-03-02T14:05:09,123", true},  // only the six fields count
      {"2005-03-02 14:05:09", false},     {"2005-03-02 14:05:09.0000", false}, {"", false},
      {"2005-0a-02 14:05:09.000", false}, {"2005-03-02 14:-5:09.000", false},  {"yyyy-03-02 14:05:09.000", false},
      {"2005-03-02 14:05: 9.000", false},
  };
  ZRBCacheFileContext context;
  for (const auto& c : cases) {
    std::string file = File("stamp.CADPart");
    ZRBObjectManager answer;
    ZRBObject* object = FileObject(answer, "O", file, c.date);
    trace_.str("");
    EXPECT_EQ(ZRBCacheFileUtil::SetTimestampOnFile(*object, CADUnicodeString(file), CADString(c.date), context),
              c.set ? S_OK : E_FAIL)
        << c.date;
    EXPECT_EQ(MTime(file), c.set ? kPdm : kOld) << c.date;
    EXPECT_EQ(trace_.str().find("illegal DateTime format") != std::string::npos, !c.set) << c.date;
  }
}

TEST_F(ZRBCacheFiles, FilesThatMustKeepTheirTime) {
  ZRBCacheFileContext context;
  ZRBObjectManager answer;
  std::string backup = File("ZRBBACKUP_b.CADPart"), open = File("open.CADPart"), ignored = File("ign.CADPart");
  environment_.inSession.push_back(open);
  FileObject(answer, "B", backup);
  FileObject(answer, "S", open);
  FileObject(answer, "I", ignored)->SetSlotValue("COPY_MODEL_IGNORED", "1");
  for (const char* key : {"B", "S", "I"}) {
    ZRBObject* o = answer.GetObject(key);
    EXPECT_EQ(ZRBCacheFileUtil::SetTimestampOnFile(*o, CADUnicodeString(o->GetSlotValue("EXTERNAL_LOCATION")), kPdmDate,
                                                   context),
              S_OK);
  }
  EXPECT_EQ(MTime(backup), kOld);
  EXPECT_EQ(MTime(open), kOld);
  EXPECT_EQ(MTime(ignored), kOld);
  EXPECT_NE(trace_.str().find("ZRB Info: File already in Session: " + open), std::string::npos);
  EXPECT_EQ(ZRBCacheFileUtil::SetTimestampOnFile(*answer.GetObject("B"), CADUnicodeString(dir_), kPdmDate, context),
            E_FAIL);
  EXPECT_NE(trace_.str().find("Not a regular File:"), std::string::npos);
}

TEST_F(ZRBCacheFiles, CyclicAndDeepAnswersAreWalkedOnce) {
  ZRBObjectManager answer;
  ZRBObject* root = answer.CreateObject("ROOT");
  root->SetSlotValueList("SUBASSRELATIONS", {"R1", "ROOT"});
  answer.CreateObject("R1")->SetSlotValueList("SUBASSRELATIONS", {"R2"});
  ZRBObject* r2 = answer.CreateObject("R2");
  r2->SetSlotValueList("SUBASSRELATIONS", {"R1", "MISSING"});
  r2->SetSlotValueList("PRODUCT", {"P1"});
  std::string part = File("p1.CADPart");
  FileObject(answer, "P1", part);
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  EXPECT_EQ(MTime(part), kPdm);
  EXPECT_EQ(environment_.resets, 1);

  // A chain deeper than the cap ends with a failure, not with the stack.
  ZRBObjectManager deep;
  ZRBObject* previous = deep.CreateObject("ROOT");
  std::string first = File("first.CADPart");
  previous->SetSlotValueList("ITEMLIST", {"F"});
  FileObject(deep, "F", first);
  for (int i = 0; i < 5000; ++i) {
    std::string key = "L" + std::to_string(i);
    previous->SetSlotValueList("SUBASSRELATIONS", {CADString(key)});
    previous = deep.CreateObject(CADString(key));
  }
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(deep, refresh), E_FAIL);
  EXPECT_EQ(MTime(first), kPdm);
}

TEST_F(ZRBCacheFiles, StaleVisFilesGoAndTheDeliveredVisGetsItsCacheName) {
  std::string model = File("a.CADPart", kOld);
  std::string cache = environment_.cacheDir;
  for (const std::string& name :
       std::vector<std::string>{"a.CADPart" + Stamp(kOld) + ".vis",        // matches the model: kept
                                "a.CADPart" + Stamp(kOld - 60) + ".vis",   // stale
                                "a.CADPart.old.vis",                       // no time: stale
                                "ab.CADPart" + Stamp(kOld - 60) + ".vis",  // another model
                                "a.CADPart" + Stamp(kOld - 60) + ".txt"})  // not a vis file
    std::ofstream(cache + "/" + name) << "v";
  std::string delivered = cache + "/a.CADPart.vis";  // the PDM's fresh vis, not yet named for the cache
  std::ofstream(delivered) << "delivered";

  ZRBObjectManager answer;
  answer.CreateObject("ROOT")->SetSlotValueList("DOCCOMS", {"A"});
  FileObject(answer, "A", model)->SetSlotValue("VIS_LOCATION", CADString(delivered));
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  EXPECT_EQ(MTime(model), kPdm);
  EXPECT_EQ(CacheEntries(),
            (std::vector<std::string>{"a.CADPart" + Stamp(kOld - 60) + ".txt", "a.CADPart" + Stamp(kOld) + ".vis",
                                      "a.CADPart" + Stamp(kPdm) + ".vis", "ab.CADPart" + Stamp(kOld - 60) + ".vis"}));
  EXPECT_EQ(refresh.Size(), 0);
}

TEST_F(ZRBCacheFiles, AnswerWithoutRootFails) {
  ZRBObjectManager empty;
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(empty, refresh), E_FAIL);
  EXPECT_NE(trace_.str().find("ZRBFileUtil::SetTimestampOnAllFiles ****Failed****"), std::string::npos);
}

TEST_F(ZRBCacheFiles, ArchivesStampTheArchiveAndWithTheArchiveCacheItsContent) {
  std::string archive = File("x.ZRBArchive"), content = File("x_content.CADProduct");
  ZRBObjectManager answer;
  answer.CreateObject("ROOT")->SetSlotValueList("ATTACHED_FILEOBJECTS", {"X"});
  ZRBObject* x = FileObject(answer, "X", archive);
  x->SetSlotValue("CONTENT_FILE_NAME", "x_content.CADProduct");
  x->SetSlotValue("ZRB_ARCHIVE_VIS_TIMESTAMP", "2001-09-09 01:46:50.000");
  CADListValCADUnicodeString refresh;
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  EXPECT_EQ(MTime(archive), kPdm);
  EXPECT_EQ(MTime(content), kOld);
  g_ZRBConfig.ChangeEnvVar("ZRB_ENABLE_ARCHIVE_CACHE", "ON", 1);
  EXPECT_EQ(ZRBCacheFileUtil::ManageFilesForCache(answer, refresh), S_OK);
  EXPECT_EQ(MTime(content), kOld + 10);
}
