// Keeping a content file in line with its directory: Check and the size limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "XmapFixtures.h"

namespace {

class ContentCheckTest : public ContentManagerFixture {
 protected:
  void AddNew(const std::string& name, std::uint64_t bytes = 1) {
    dir_.WriteSized(name, bytes);
    dir_.SetModTime(name, 1500000000);
    manager_.AddFile("OB", "2024-01-01 00:00:00.000", CADString(dir_.Path(name)), "DB", "Part");
  }
  std::vector<std::string> Listed() const { return Names(manager_); }
};

TEST_F(ContentCheckTest, DropsAChangedFileFromTheListButLeavesItOnDisk) {
  AddNew("kept.CADPart");
  AddNew("changed.CADPart");
  AddNew("gone.CADPart");
  dir_.SetModTime("changed.CADPart", 1500000099);
  std::filesystem::remove(dir_.Path("gone.CADPart"));
  dir_.Write("unknown.vis");
  ASSERT_EQ(manager_.Check(nullptr, 0), 1);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"kept.CADPart"}));
  EXPECT_TRUE(dir_.Exists("changed.CADPart"));
  EXPECT_TRUE(dir_.Exists("unknown.vis"));
  EXPECT_EQ(manager_.IsModified(), 1);
}

TEST_F(ContentCheckTest, UnlistedFilesAreDeletedOnlyWhenAsked) {
  struct U {
    bool withVisExtension;
    int removeUnknown;
    std::vector<std::string> left;
  };
  const std::vector<std::string> all = {"changed.CADPart", "content.zrb",   "folder.vis", "link.vis",
                                        "listed.CADPart",  "stray.CADPart", "stray.vis"};
  // Unknown and locally changed files go; the content file itself and directories stay.
  const std::vector<std::string> removed = {"content.zrb", "folder.vis", "listed.CADPart"};
  for (const U& c : {U{false, 0, all},
                     U{true, 0, {"changed.CADPart", "content.zrb", "folder.vis", "listed.CADPart", "stray.CADPart"}},
                     U{false, 1, removed}, U{true, 1, removed}}) {
    SCOPED_TRACE(std::to_string(c.withVisExtension) + std::to_string(c.removeUnknown));
    XmapScratchDirectory dir;
    ZRBXmapManager manager;
    manager.SetContentFileFullPath(dir.Path("content.zrb"));
    for (const char* name : {"listed.CADPart", "changed.CADPart"}) {
      dir.Write(name);
      dir.SetModTime(name, 1500000000);
      manager.AddFile("OB", "2024-01-01 00:00:00.000", CADString(dir.Path(name)), "DB", "Part");
    }
    manager.Write();
    dir.SetModTime("changed.CADPart", 1500000099);
    dir.Write("stray.vis");
    dir.Write("stray.CADPart");
    dir.Symlink("link.vis", dir.Path("listed.CADPart"));
    dir.MakeDirectory("folder.vis");
    CADListValCADUnicodeString extensions;
    extensions.Append("vis");
    ASSERT_EQ(manager.Check(c.withVisExtension ? &extensions : nullptr, c.removeUnknown), 1);
    EXPECT_EQ(dir.List(), c.left);
    ASSERT_EQ(manager.Size(), 1);
    EXPECT_EQ(std::string(manager.GetEntries()[0]->GetFileName()), "listed.CADPart");
  }
}

TEST_F(ContentCheckTest, ListedVisFilesAreNotTakenForUnknownOnes) {
  // Sorted by model name the list reads b.CADPart.vis before b.CADPart.a; the
  // directory reads them the other way round.
  AddNew("b.CADPart.vis");
  AddNew("b.CADPart.a");
  AddNew("b.CADPart");
  ASSERT_EQ(Listed(), (std::vector<std::string>{"b.CADPart.vis", "b.CADPart", "b.CADPart.a"}));
  ASSERT_EQ(manager_.Check(nullptr, 1), 1);
  EXPECT_EQ(dir_.List(), (std::vector<std::string>{"b.CADPart", "b.CADPart.a", "b.CADPart.vis"}));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"b.CADPart.vis", "b.CADPart", "b.CADPart.a"}));
}

TEST_F(ContentCheckTest, ALinkIsJudgedByItselfNotByItsTarget) {
  dir_.Write("target.CADPart");
  dir_.Symlink("link.CADPart", dir_.Path("target.CADPart"));
  dir_.SetModTime("link.CADPart", 1500000000);
  manager_.AddFile("OB", "D", CADString(dir_.Path("link.CADPart")), "DB", "Part");
  ASSERT_EQ(manager_.Size(), 1);
  EXPECT_EQ(manager_.GetEntries()[0]->GetFileModTime(), 1500000000u);
  EXPECT_EQ(manager_.GetEntries()[0]->GetFileSize(), 0u);
  dir_.Write("target.CADPart", "edited");
  dir_.SetModTime("target.CADPart", 1600000000);
  EXPECT_EQ(manager_.FileExist("OB", "D", CADString(dir_.Path("link.CADPart")), "DB", "Part"), 1);
  ASSERT_EQ(manager_.Check(nullptr, 0), 1);
  EXPECT_EQ(manager_.Size(), 1);
}

TEST_F(ContentCheckTest, UnreadableDirectoryChangesNothing) {
  AddNew("a.CADPart");
  ZRBXmapManager elsewhere;
  elsewhere.SetContentFileFullPath(dir_.Path("missing/content.zrb"));
  EXPECT_EQ(elsewhere.Check(nullptr, 1), 0);
  EXPECT_EQ(manager_.Size(), 1);
}

TEST_F(ContentCheckTest, SizeLimitKeepsTheNewestFilesThatFit) {
  now_ = 100;
  AddNew("old.model", 300 * 1024);
  now_ = 200;
  AddNew("middle.model", 500 * 1024);
  now_ = 300;
  AddNew("new.model", 600 * 1024);
  ASSERT_EQ(manager_.RemoveCacheFilesToLimit(1024), 1);
  // 600 + 500 is not below 1024; 600 + 300 is.
  EXPECT_FALSE(dir_.Exists("middle.model"));
  EXPECT_TRUE(dir_.Exists("new.model"));
  EXPECT_TRUE(dir_.Exists("old.model"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"new.model", "old.model"}));
  // The content file was written with what is left.
  ZRBXmapManager reread;
  ASSERT_EQ(ReadBack(reread), 1);
  EXPECT_EQ(reread.Size(), 2);
}

TEST_F(ContentCheckTest, SizeLimitKeepsSortOrderWithOlderEntriesFirstAmongEqualKeys) {
  now_ = 300;
  AddNew("k.CADPart");
  now_ = 100;
  AddNew("k.CADPart.vis");
  ASSERT_EQ(Listed(), (std::vector<std::string>{"k.CADPart", "k.CADPart.vis"}));
  manager_.RemoveCacheFilesToLimit(1000);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"k.CADPart.vis", "k.CADPart"}));
}

}  // namespace
