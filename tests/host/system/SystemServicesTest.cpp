#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "CADSystemServices.h"
#include "CADTime.h"
#include "ExchangeTestSupport.h"
#include "ScopedEnv.h"

namespace fs = std::filesystem;

namespace {

class CADFileServices : public testing::Test {
 protected:
  std::string Path(const std::string& name) const { return scratch_.File(name); }
  size_t EntryCount() const { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  ScratchDir scratch_;
  const std::string dir_ = scratch_.Path();
};

}  // namespace

TEST_F(CADFileServices, CopyReplacesAtomicallyAndKeepsTargetOnFailure) {
  std::string a = Path("a b \"q\" $(x) `y`\n.txt"), b = Path("target.txt");
  WriteBytes(a, "new content");
  WriteBytes(b, "old content");
  ::chmod(a.c_str(), 0640);

  EXPECT_EQ(CADFCopy(a, b, 0), E_FAIL);  // no overwrite: the target stays
  EXPECT_EQ(CADGetLastSystemError(), EEXIST);
  EXPECT_EQ(ReadBytes(b), "old content");

  EXPECT_EQ(CADFCopy(Path("missing"), b), E_FAIL);
  EXPECT_EQ(CADGetLastSystemError(), ENOENT);
  EXPECT_EQ(ReadBytes(b), "old content");
  EXPECT_EQ(CADFCopy(dir_, b), E_FAIL);  // a directory is no file to copy
  EXPECT_EQ(ReadBytes(b), "old content");
  EXPECT_EQ(CADFCopy(a, Path("no/such/dir/x")), E_FAIL);

  EXPECT_EQ(CADFCopy(a, b), S_OK);
  EXPECT_EQ(ReadBytes(b), "new content");
  struct stat st {};
  ::stat(b.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(CADFCopy(a, a), S_OK);  // onto itself: content survives
  EXPECT_EQ(ReadBytes(a), "new content");
  EXPECT_EQ(CADFCopy(a, Path("fresh"), 0), S_OK);
  EXPECT_EQ(ReadBytes(Path("fresh")), "new content");
  EXPECT_EQ(EntryCount(), 3u);  // no temporary file left behind
}

TEST_F(CADFileServices, DirectoriesAreCreatedOnceAndListedAsSnapshots) {
  EXPECT_EQ(CADCreateDirectory(Path("x/y/z")), S_OK);
  EXPECT_EQ(CADCreateDirectory(Path("x/y/z/")), S_OK);  // already there
  EXPECT_EQ(CADIsDirectory(Path("x/y")), 1);
  WriteBytes(Path("file"), "");
  EXPECT_EQ(CADCreateDirectory(Path("file")), E_FAIL);
  EXPECT_EQ(CADCreateDirectory(Path("file/sub")), E_FAIL);
  EXPECT_EQ(CADIsDirectory(Path("file")), 0);

  for (const char* n : {"c.vis", "a.vis", "b.vis"}) WriteBytes(Path(n), "");
  CADListValCADUnicodeString names;
  EXPECT_EQ(CADListDirectory(dir_, names), S_OK);
  EXPECT_EQ(names, (CADListValCADUnicodeString{"a.vis", "b.vis", "c.vis", "file", "x"}));
  // Renaming while walking the snapshot visits each original name once.
  int renamed = 0;
  for (const auto& n : names)
    if (n.EndsWith(".vis") && CADRenameFile(Path(n.str()), Path("z_" + n.str())) == S_OK) ++renamed;
  EXPECT_EQ(renamed, 3);
  EXPECT_EQ(CADListDirectory(Path("none"), names), E_FAIL);
  EXPECT_EQ(names.Size(), 0);
}

TEST(CADTime, FormatsInUtcAndLocalTime) {
  {
    ScopedEnv env;
    env.Set("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    ::tzset();
    CADTime t(1109772309);  // 2005-03-02 14:05:09 UTC
    EXPECT_EQ(t.ConvertToString(".%Y-%m-%d-%H.%M.%S", CADTime::UTC), CADUnicodeString(".2005-03-02-14.05.09"));
    EXPECT_EQ(t.ConvertToString(".%Y-%m-%d-%H.%M.%S", CADTime::Local), CADUnicodeString(".2005-03-02-15.05.09"));
    EXPECT_EQ(t.ConvertToString("%Y", 7), CADUnicodeString(""));
    EXPECT_EQ(t.ConvertToString("", 0), CADUnicodeString(""));
    EXPECT_EQ(t.ConvertToString(nullptr, 0), CADUnicodeString(""));
    std::string longFormat(3000, 'x');
    EXPECT_EQ(t.ConvertToString((longFormat + "%Y").c_str(), 1).GetLength(), 3004);
  }
  ::tzset();
}
