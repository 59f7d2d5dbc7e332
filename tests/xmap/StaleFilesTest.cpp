// The stale-file protocol in a temporary exchange map: which files are moved
// aside, how the PDM's answer and its deliveries bring them back, and that
// nothing is left under a backup name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScopedEnv.h"
#include "XmapFixtures.h"
#include "ZRBObjectManager.h"
#include "ZRBStaleFileGuard.h"
#include "ZRBStaleFiles.h"

namespace {

using Names = std::vector<std::string>;

class StaleFilesTest : public XmapSessionFixture {
 protected:
  // A part document loaded in the session from the exchange map.
  void LoadPart(const std::string& name) { NewPart(xmap_ + "/" + name); }
  void FillMap() {
    LoadPart("loaded.CADPart");
    for (const char* name : {"a.ZRBArchive", "t.xls", "plain.xls", "ZRBBACKUP_old.CADPart", "b.CADPart", "notes.pdf",
                             "unused.vis", "m.model", "r.cgr", "d.CADDrawing", "content.zrb"})
      dir_.Write("xmap/" + std::string(name), name);
    dir_.MakeDirectory("xmap/folder.CADPart");
    GlobPropertyManager.SetFileProperty(CADUnicodeString(xmap_ + "/t.xls"), "ZRB_TYPE", "DESIGNTABLE");
    GlobPropertyManager.SetFileProperty(CADUnicodeString(xmap_ + "/a.txt"), "ZRB_ARCHIVE_FILE",
                                        CADUnicodeString(xmap_ + "/a.ZRBArchive"));
  }
  CADString Xmap() const { return CADString(xmap_); }
};

TEST_F(StaleFilesTest, MovesAsideOnlyDocumentsNobodyUses) {
  FillMap();
  XmapScopedVariable formats("ZRB_REP_FORMATS", "{cgr}{stp}");
  ASSERT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(Xmap()), 1);
  EXPECT_EQ(dir_.List("xmap"),
            (Names{"ZRBBACKUP_b.CADPart", "ZRBBACKUP_d.CADDrawing", "ZRBBACKUP_m.model", "ZRBBACKUP_old.CADPart",
                   "ZRBBACKUP_plain.xls", "ZRBBACKUP_r.cgr", "ZRBBACKUP_unused.vis", "a.ZRBArchive", "content.zrb",
                   "folder.CADPart", "loaded.CADPart", "notes.pdf", "t.xls"}));
  // A backup keeps its content and never gets the prefix twice.
  EXPECT_EQ(dir_.Read("xmap/ZRBBACKUP_b.CADPart"), "b.CADPart");
  ASSERT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(Xmap()), 1);
  EXPECT_FALSE(dir_.Exists("xmap/ZRBBACKUP_ZRBBACKUP_b.CADPart"));
}

TEST_F(StaleFilesTest, FullRunWithoutDeliveryGivesEveryFileItsNameBack) {
  FillMap();
  const Names before = dir_.List("xmap");
  ASSERT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(Xmap()), 1);
  ZRBObjectManager emptyReply;
  ZRBStaleFiles::ProcessCachedFilesInXmap(emptyReply, CADUnicodeString(xmap_));
  ASSERT_EQ(ZRBStaleFiles::RestoreStaleFilesInExchangeMap(Xmap()), 1);
  // The backup left by an earlier, interrupted run is restored as well.
  Names expected = before;
  std::replace(expected.begin(), expected.end(), std::string("ZRBBACKUP_old.CADPart"), std::string("old.CADPart"));
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(dir_.List("xmap"), expected);
  EXPECT_EQ(dir_.Read("xmap/b.CADPart"), "b.CADPart");
}

TEST_F(StaleFilesTest, ADeliverySupersedesItsBackup) {
  dir_.Write("xmap/b.CADPart", "stale");
  dir_.Write("xmap/c.CADPart", "kept");
  ASSERT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(Xmap()), 1);
  dir_.Write("xmap/b.CADPart", "delivered");
  dir_.Write("xmap/ZRBBACKUP_..", "not a backup");  // names a directory: kept, never deleted
  ASSERT_EQ(ZRBStaleFiles::RestoreStaleFilesInExchangeMap(Xmap()), 1);
  EXPECT_EQ(dir_.List("xmap"), (Names{"ZRBBACKUP_..", "b.CADPart", "c.CADPart"}));
  EXPECT_EQ(dir_.Read("xmap/b.CADPart"), "delivered");
  EXPECT_EQ(dir_.Read("xmap/c.CADPart"), "kept");
}

TEST_F(StaleFilesTest, OnlyAValidDeclarationBringsTheBackupBackEarly) {
  struct C {
    const char* useFile;
    const char* location;
    bool restoredInStep2;
  };
  dir_.Write("outside/b.CADPart", "not ours");
  for (const C& c :
       {C{"1", "/pdm/vault/b.CADPart", true}, C{"1", "b.CADPart", true}, C{"yes", "/pdm/vault/b.CADPart", false},
        C{"0", "b.CADPart", false}, C{"1", "", false}, C{"1", "/pdm/vault/..", false}, C{"1", "/pdm/vault/.", false},
        C{"1", "/pdm/vault/b.CADPart/", false}, C{"1", "../outside/b.CADPart", true}}) {
    SCOPED_TRACE(std::string(c.useFile) + " " + c.location);
    dir_.Write("xmap/b.CADPart", "cached");
    dir_.Write("xmap/ZRBBACKUP_..", "odd");
    ASSERT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(Xmap()), 1);
    ZRBObjectManager reply;
    ZRBObject* object = reply.CreateObject("DOC1");
    object->SetSlotValue("USE_FILE_IN_EXMAP", c.useFile);
    object->SetSlotValue("EXTERNAL_LOCATION", c.location);
    ZRBStaleFiles::ProcessCachedFilesInXmap(reply, CADUnicodeString(xmap_));
    EXPECT_EQ(dir_.Exists("xmap/b.CADPart"), c.restoredInStep2);
    EXPECT_EQ(dir_.Read("outside/b.CADPart"), "not ours");
    EXPECT_TRUE(dir_.Exists("xmap/ZRBBACKUP_.."));
    ASSERT_EQ(ZRBStaleFiles::RestoreStaleFilesInExchangeMap(Xmap()), 1);
    EXPECT_EQ(dir_.Read("xmap/b.CADPart"), "cached");
  }
}

TEST_F(StaleFilesTest, UnreadableDirectoryLeavesEverythingAlone) {
  EXPECT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(CADString(dir_.Path("missing"))), 0);
  EXPECT_EQ(ZRBStaleFiles::RestoreStaleFilesInExchangeMap(CADString(dir_.Path("missing"))), 0);
  EXPECT_EQ(ZRBStaleFiles::CleanUpExchangeMap(CADString(dir_.Path("missing"))), 0);
  EXPECT_EQ(ZRBStaleFiles::RenameStaleFilesInExchangeMap(""), 0);
}

TEST_F(StaleFilesTest, CleanUpKeepsOnlyLoadedDocuments) {
  LoadPart("loaded.CADPart");
  dir_.Write("xmap/b.CADPart");
  dir_.Write("xmap/notes.pdf");
  dir_.MakeDirectory("xmap/sub");
  ASSERT_EQ(ZRBStaleFiles::CleanUpExchangeMap(Xmap()), 1);
  EXPECT_EQ(dir_.List("xmap"), (Names{"loaded.CADPart", "sub"}));
}

TEST_F(StaleFilesTest, GuardRestoresOnEveryWayOut) {
  XmapScopedVariable xmapVariable("ZRBXMAP", xmap_.c_str());
  GlobZRBCache.Load();
  dir_.Write("xmap/b.CADPart", "cached");
  dir_.Write("xmap/c.CADPart", "cached");
  GlobZRBCache.UpdateXMapFile("OB-B", "2024-01-01 00:00:00.000", CADString(xmap_ + "/b.CADPart"), "DB", "Part");
  auto request = [&](bool deliver) {
    ZRBStaleFileGuard staleFiles;
    if (!staleFiles.IsActive()) return false;
    EXPECT_EQ(staleFiles.GetListPath(), CADUnicodeString(xmap_ + "/xmapfiles.zrb"));
    EXPECT_FALSE(dir_.Exists("xmap/b.CADPart"));
    EXPECT_TRUE(dir_.Exists("xmap/ZRBBACKUP_c.CADPart"));
    if (!deliver) return false;  // an early way out
    dir_.Write("xmap/c.CADPart", "delivered");
    ZRBObjectManager reply;
    ZRBObject* object = reply.CreateObject("B");
    object->SetSlotValue("USE_FILE_IN_EXMAP", "1");
    object->SetSlotValue("EXTERNAL_LOCATION", "/vault/b.CADPart");
    staleFiles.ProcessCachedFiles(reply);
    EXPECT_EQ(dir_.Read("xmap/b.CADPart"), "cached");
    return true;
  };
  EXPECT_FALSE(request(false));
  EXPECT_EQ(dir_.List("xmap"), (Names{"b.CADPart", "c.CADPart", "xmapfiles.zrb"}));
  EXPECT_TRUE(request(true));
  EXPECT_EQ(dir_.List("xmap"), (Names{"b.CADPart", "c.CADPart", "xmapfiles.zrb"}));
  EXPECT_EQ(dir_.Read("xmap/c.CADPart"), "delivered");
}

TEST_F(StaleFilesTest, GuardWithoutExchangeMapTouchesNothing) {
  XmapScopedVariable xmapVariable("ZRBXMAP", nullptr);
  ScopedEnv env;
  env.Set("TMPDIR", xmap_.c_str());
  dir_.Write("xmap/b.CADPart");
  {
    ZRBStaleFileGuard staleFiles;
    EXPECT_EQ(staleFiles.IsActive(), 0);
    EXPECT_EQ(dir_.List("xmap"), (Names{"b.CADPart"}));
  }
  EXPECT_EQ(dir_.List("xmap"), (Names{"b.CADPart"}));
}

}  // namespace
