#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CADSystemServices.h"
#include "ExchangeTestSupport.h"
#include "XmapScratchDirectory.h"
#include "ZRBFileUtil.h"
#include "ZRBPropertyManager.h"

namespace fs = std::filesystem;

namespace {

class ZRBFileOperations : public testing::Test {
 protected:
  void TearDown() override { CADResetOperatingSystem(); }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::vector<std::string> Entries() const { return scratch_.List(); }

  XmapScratchDirectory scratch_;
  // The real path: the helpers resolve, so comparisons must too.
  const std::string dir_ = fs::canonical(scratch_.Root()).string();
};

// Names a shell would act on: none of them may do anything but name a file.
const std::vector<std::string> kHostileNames = {
    "with blank.CADPart",          "double\"quote.CADPart", "single'quote.CADPart",
    "$(touch PWNED).CADPart",      "`touch PWNED`.CADPart", "new\nline.CADPart",
    "semi;colon&amp|pipe.CADPart", "-dash.CADPart",         "\\back\\slash*?.CADPart"};

}  // namespace

TEST_F(ZRBFileOperations, CopyAndMoveTakeAnyNameWithoutAShell) {
  for (const auto& name : kHostileNames) {
    std::string from = Path(name), copy = Path("copy of " + name), moved = Path("moved " + name);
    WriteBytes(from, "content of " + name);
    ASSERT_EQ(ZRBFileUtil::CopyFile(from, copy), S_OK) << name;
    EXPECT_EQ(ReadBytes(copy), "content of " + name);
    EXPECT_EQ(ReadBytes(from), "content of " + name);
    ASSERT_EQ(ZRBFileUtil::MoveFile(from, moved), S_OK) << name;
    EXPECT_EQ(ReadBytes(moved), "content of " + name);
    EXPECT_FALSE(fs::exists(from)) << name;
  }
  EXPECT_FALSE(fs::exists(Path("PWNED")));
  EXPECT_FALSE(fs::exists("PWNED"));
  EXPECT_EQ(Entries().size(), 2 * kHostileNames.size());  // no temporary files left
}

TEST_F(ZRBFileOperations, FailuresNeverLoseTheTargetOrTheSource) {
  std::string source = Path("source.CADPart"), target = Path("target.CADPart");
  WriteBytes(target, "old target");
  struct Case {
    const char* what;
    std::string from, to;
  };
  const std::vector<Case> cases = {
      {"missing source", Path("missing.CADPart"), target},
      {"source is a directory", dir_, target},
      {"target directory missing", target, Path("no/dir/x.CADPart")},
      {"target is a directory", target, dir_ + "/"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZRBFileUtil::CopyFile(c.from, c.to), E_FAIL) << c.what;
    EXPECT_EQ(ReadBytes(target), "old target") << c.what;
  }
  for (const auto& c : cases) {
    if (std::string(c.what) == "source is a directory") continue;  // rename(2) would move a directory
    EXPECT_EQ(ZRBFileUtil::MoveFile(c.from, c.to), E_FAIL) << c.what;
    EXPECT_EQ(ReadBytes(target), "old target") << c.what;
  }
  // The target is replaced only once the new content is complete.
  WriteBytes(source, "new");
  EXPECT_EQ(ZRBFileUtil::CopyFile(source, target), S_OK);
  EXPECT_EQ(ReadBytes(target), "new");
  WriteBytes(source, "newer");
  EXPECT_EQ(ZRBFileUtil::MoveFile(source, target), S_OK);
  EXPECT_EQ(ReadBytes(target), "newer");
  EXPECT_EQ(Entries(), std::vector<std::string>{"target.CADPart"});
}

TEST_F(ZRBFileOperations, SameFileIsLeftAloneWhateverTheSpelling) {
  std::string file = Path("same.CADPart");
  WriteBytes(file, "keep");
  for (const std::string& spelling : {file, dir_ + "//same.CADPart", " " + file + " ", dir_ + "/./same.CADPart"}) {
    EXPECT_EQ(ZRBFileUtil::CopyFile(file, spelling), S_OK) << spelling;
    EXPECT_EQ(ZRBFileUtil::MoveFile(file, spelling), S_OK) << spelling;
    EXPECT_EQ(ReadBytes(file), "keep");
  }
  EXPECT_EQ(Entries(), std::vector<std::string>{"same.CADPart"});
}

TEST_F(ZRBFileOperations, CaseOnlyRenameOnCaseInsensitivePlatformReportsTheRename) {
  CADSetOperatingSystemOverride(CADOSWindows);
  std::string lower = Path("part.CADPart"), upper = Path("PART.CADPart");
  WriteBytes(lower, "p");
  EXPECT_EQ(ZRBFileUtil::MoveFile(lower, upper), S_OK);
  EXPECT_EQ(Entries(), std::vector<std::string>{"PART.CADPart"});
  EXPECT_EQ(ZRBFileUtil::CopyFile(upper, lower), S_OK);
  EXPECT_EQ(Entries(), std::vector<std::string>{"part.CADPart"});
  // The directory differs in case and does not exist: the rename fails and says so.
  std::string otherCase = dir_.substr(0, dir_.size() - 1) + static_cast<char>(std::toupper(dir_.back()) == dir_.back()
                                                                                  ? std::tolower(dir_.back())
                                                                                  : std::toupper(dir_.back()));
  if (otherCase != dir_) {
    EXPECT_EQ(ZRBFileUtil::MoveFile(lower, otherCase + "/PART.CADPart"), E_FAIL);
    EXPECT_EQ(ReadBytes(lower), "p");
  }
}

TEST_F(ZRBFileOperations, MoveAcrossFileSystemsCopiesThenRemovesTheSource) {
  char pattern[] = "/dev/shm/zrbfile.XXXXXX";
  const std::string other = ::mkdtemp(pattern) ? pattern : "";
  struct stat a {
  }, b{};
  if (other.empty() || ::stat(dir_.c_str(), &a) != 0 || ::stat(other.c_str(), &b) != 0 || a.st_dev == b.st_dev) {
    if (!other.empty()) fs::remove_all(other);
    GTEST_SKIP() << "no second file system";
  }
  std::string from = Path("cross $(x).CADPart"), to = other + "/cross.CADPart";
  WriteBytes(from, "across");
  WriteBytes(to, "old");
  EXPECT_EQ(ZRBFileUtil::MoveFile(from, to), S_OK);
  EXPECT_EQ(ReadBytes(to), "across");
  EXPECT_FALSE(fs::exists(from));
  EXPECT_EQ(std::distance(fs::directory_iterator(other), {}), 1);
  fs::remove_all(other);
}

TEST_F(ZRBFileOperations, FailedMoveTracesTheSystemError) {
  TraceCapture trace;
  std::string from = Path("m.CADPart");
  WriteBytes(from, "m");
  EXPECT_EQ(ZRBFileUtil::MoveFile(from, Path("missing/m.CADPart")), E_FAIL);
  EXPECT_NE(trace.Text().find("ZRB: could not rename file from " + from + " to " + Path("missing/m.CADPart") +
                              " Error Code: 2"),
            std::string::npos)
      << trace.Text();
  EXPECT_EQ(ReadBytes(from), "m");
}

TEST_F(ZRBFileOperations, CopyRecordsTheTargetModificationTime) {
  std::string from = Path("a.CADPart"), to = Path("b.CADPart");
  WriteBytes(from, "a");
  ASSERT_EQ(ZRBFileUtil::CopyFile(from, to), S_OK);
  CADUnicodeString modTime;
  ASSERT_EQ(ZRBFileUtil::GetLastModificationFromFile(to, modTime), S_OK);
  EXPECT_EQ(GlobPropertyManager.GetFileProperty(to, "ZRB_LAST_KNOWN_MOD_TIME"), modTime);
}

TEST_F(ZRBFileOperations, StripPathResolvesOrCleansATargetToBe) {
  WriteBytes(Path("f"), "");
  CADUnicodeString existing(" " + dir_ + "//f/ ");
  EXPECT_EQ(ZRBFileUtil::StripPath(existing), S_OK);
  EXPECT_EQ(existing.str(), dir_ + "/f");
  CADUnicodeString toBe(" " + dir_ + "//sub///new/ ");
  EXPECT_EQ(ZRBFileUtil::StripPath(toBe), E_FAIL);
  EXPECT_EQ(toBe.str(), dir_ + "/sub/new");
  CADUnicodeString root("/");
  EXPECT_EQ(ZRBFileUtil::StripPath(root), S_OK);
  EXPECT_EQ(root.str(), "/");
}

TEST_F(ZRBFileOperations, RegularFilesAndTimeStamps) {
  std::string file = Path("t.CADPart");
  WriteBytes(file, "t");
  ::symlink(file.c_str(), Path("link").c_str());
  int regular = -1;
  struct Kind {
    std::string path;
    int regular;
  };
  for (const Kind& k : {Kind{file, 1}, Kind{Path("link"), 0}, Kind{dir_, 0}, Kind{Path("none"), 0}, Kind{"", 0}}) {
    EXPECT_EQ(ZRBFileUtil::IsRegularFile(k.path, &regular), S_OK);
    EXPECT_EQ(regular, k.regular) << k.path;
  }
  EXPECT_EQ(ZRBFileUtil::IsRegularFile(file, nullptr), E_FAIL);

  struct Stamp {
    std::string path, time;
    HRESULT hr;
  };
  const std::vector<Stamp> stamps = {
      {file, "1109772309", S_OK}, {file, "", E_FAIL},           {file, "12a", E_FAIL},
      {file, "-5", E_FAIL},       {file, " 12", E_FAIL},        {file, "99999999999999999999999", E_FAIL},
      {"", "12", E_FAIL},         {Path("none"), "12", E_FAIL}, {dir_, "12", E_FAIL},
  };
  for (const auto& s : stamps) EXPECT_EQ(ZRBFileUtil::SetLastModificationToFile(s.path, s.time), s.hr) << s.time;
  long seconds = 0;
  EXPECT_EQ(ZRBFileUtil::GetModTimestampFromFile(file, seconds), S_OK);
  EXPECT_EQ(seconds, 1109772309L);
  CADUnicodeString text;
  EXPECT_EQ(ZRBFileUtil::GetLastModificationFromFile(file, text), S_OK);
  EXPECT_EQ(text, CADUnicodeString("1109772309"));
  EXPECT_EQ(ZRBFileUtil::GetModTimestampFromFile(Path("none"), seconds), E_FAIL);
  EXPECT_EQ(seconds, 0);
  EXPECT_EQ(ZRBFileUtil::GetLastModificationFromFile(Path("none"), text), E_FAIL);
  EXPECT_TRUE(text.IsEmpty());
}
