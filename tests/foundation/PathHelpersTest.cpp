#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CADSystemServices.h"
#include "ExchangeTestSupport.h"
#include "ZRBAfx.h"
#include "ZRBFileUtil.h"

namespace {

// Reports the case-insensitive platform while alive.
class CaseInsensitivePlatform {
 public:
  CaseInsensitivePlatform() { CADSetOperatingSystemOverride(CADOSWindows); }
  ~CaseInsensitivePlatform() { CADResetOperatingSystem(); }
};

}  // namespace

TEST(ZRBResolvePath, ExpandsBracedReferencesAndRefusesEverythingElse) {
  ::setenv("ZRBTEST_DIR", "/data/x", 1);
  ::setenv("ZRBTEST_NESTED", "${ZRBTEST_DIR}/sub", 1);
  ::setenv("ZRBTEST_LOOP", "a${ZRBTEST_LOOP}", 1);
  ::setenv("ZRBTEST_DOUBLE", "${ZRBTEST_DOUBLE2}${ZRBTEST_DOUBLE2}", 1);
  ::setenv("ZRBTEST_DOUBLE2", "${ZRBTEST_DOUBLE}${ZRBTEST_DOUBLE}", 1);
  ::setenv("ZRBTEST_EMPTY", "", 1);
  ::unsetenv("ZRBTEST_UNSET");
  const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
  struct Case {
    std::string in;
    HRESULT hr;
    std::string out;  // for failures: the path stays as it was
  };
  const std::vector<Case> cases = {
      {"${HOME}/models/a.CADPart", S_OK, home + "/models/a.CADPart"},
      {"$HOME/models", E_FAIL, "$HOME/models"},
      {"/plain/path name", S_OK, "/plain/path name"},
      {"", S_OK, ""},
      {"/a{b}${ZRBTEST_DIR}/c", S_OK, "/a{b}/data/x/c"},  // a literal brace before the "$"
      {"${ZRBTEST_DIR}${ZRBTEST_DIR}", S_OK, "/data/x/data/x"},
      {"${ZRBTEST_NESTED}/f", S_OK, "/data/x/sub/f"},
      {"x${ZRBTEST_EMPTY}y", S_OK, "xy"},
      {"${ZRBTEST_UNSET}/f", E_FAIL, "${ZRBTEST_UNSET}/f"},
      {"${ZRBTEST_DIR", E_FAIL, "${ZRBTEST_DIR"},
      {"}${ZRBTEST_DIR", E_FAIL, "}${ZRBTEST_DIR"},
      {"${}", E_FAIL, "${}"},
      {"$", E_FAIL, "$"},
      {"${ZRBTEST_LOOP}", E_FAIL, "${ZRBTEST_LOOP}"},      // refers to itself
      {"${ZRBTEST_DOUBLE}", E_FAIL, "${ZRBTEST_DOUBLE}"},  // grows without end
  };
  for (const auto& c : cases) {
    CADUnicodeString path(c.in);
    EXPECT_EQ(ZRBAfx::ZRBResolvePath(&path), c.hr) << c.in;
    EXPECT_EQ(path.str(), c.out) << c.in;
  }
  TraceCapture trace;
  EXPECT_EQ(ZRBAfx::ZRBResolvePath(nullptr), E_FAIL);
  CADUnicodeString bad("$HOME");
  ZRBAfx::ZRBResolvePath(&bad);
  EXPECT_NE(trace.Text().find("usPath = NULL"), std::string::npos);
  EXPECT_NE(trace.Text().find("Illegal Path"), std::string::npos);
}

TEST(ZRBAfxPaths, CompareFullPathOnBothKindsOfPlatform) {
  struct Case {
    const char *a, *b;
    int equalExact, sameExact;  // case-sensitive platform
    int equalKind1, sameKind1;  // case-insensitive platform
  };
  const Case cases[] = {
      {"/x/a.CADPart", "/x/a.CADPart", 1, 1, 1, 1},
      {"/x/a.CADPart", "/X/a.CADPart", 0, 0, 1, 1},  // directories differ in case: same file there
      {"/x/a.CADPart", "/x/A.CADPart", 0, 0, 0, 1},  // the file name differs in case: a rename there
      {"/x/a.CADPart", "/x/b.CADPart", 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int equal = -1, same = -1;
    ZRBAfx::CompareFullPath(c.a, c.b, equal, &same);
    EXPECT_EQ(equal, c.equalExact) << c.a << " " << c.b;
    EXPECT_EQ(same, c.sameExact) << c.a << " " << c.b;
    CaseInsensitivePlatform kind1;
    ZRBAfx::CompareFullPath(c.a, c.b, equal, &same);
    EXPECT_EQ(equal, c.equalKind1) << c.a << " " << c.b;
    EXPECT_EQ(same, c.sameKind1) << c.a << " " << c.b;
    ZRBAfx::CompareFullPath(c.a, c.b, equal);  // the flag is optional
    EXPECT_EQ(equal, c.equalKind1);
  }
}

TEST(ZRBAfxPaths, SearchAndRemoveInLists) {
  const CADListValCADUnicodeString list{"/x/a", "/x/B", "/x/b", "/x/A"};
  int found = -1, index = -1;
  ZRBAfx::SearchPathInList(list, "/x/b", found, index);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(index, 3);
  ZRBAfx::SearchPathInList(list, "/x/c", found, index);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(index, 0);
  ZRBAfx::SearchPathInList(CADListValCADUnicodeString(), "/x/a", found);
  EXPECT_EQ(found, 0);

  CADListValCADUnicodeString exact = list;
  ZRBAfx::RemovePathFromList(exact, "/x/a");
  EXPECT_EQ(exact, (CADListValCADUnicodeString{"/x/B", "/x/b", "/x/A"}));
  ZRBAfx::RemovePathFromList(exact, "/x/none");
  EXPECT_EQ(exact.Size(), 3);

  CaseInsensitivePlatform kind1;
  ZRBAfx::SearchPathInList(list, "/X/b", found, index);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(index, 2);
  CADListValCADUnicodeString folded = list;
  ZRBAfx::RemovePathFromList(folded, "/x/a");
  EXPECT_EQ(folded, (CADListValCADUnicodeString{"/x/B", "/x/b"}));
}

TEST(ZRBAfxRoman, BothWays) {
  struct Case {
    int value;
    const char* roman;
  };
  for (const Case& c : {Case{1, "I"}, Case{3, "III"}, Case{4, "IV"}, Case{9, "IX"}, Case{14, "XIV"}, Case{40, "XL"},
                        Case{90, "XC"}, Case{400, "CD"}, Case{1994, "MCMXCIV"}, Case{2024, "MMXXIV"},
                        Case{3999, "MMMCMXCIX"}, Case{5000, "MMMMM"}, Case{0, ""}, Case{-7, ""}}) {
    EXPECT_EQ(ZRBAfx::intToRoman(c.value), CADString(c.roman)) << c.value;
    if (c.value > 0) {
      EXPECT_EQ(ZRBAfx::romanToInt(c.roman), c.value) << c.roman;
    }
  }
  for (int n = 1; n <= 3999; ++n) ASSERT_EQ(ZRBAfx::romanToInt(ZRBAfx::intToRoman(n)), n);
  EXPECT_EQ(ZRBAfx::romanToInt("mcmxciv"), 1994);
  EXPECT_EQ(ZRBAfx::romanToInt(""), 0);
  EXPECT_EQ(ZRBAfx::romanToInt("hello"), 0);
  EXPECT_EQ(ZRBAfx::romanToInt("XIIz"), 12);  // the rest is ignored
  EXPECT_EQ(ZRBAfx::romanToInt("IIII"), 4);
  EXPECT_EQ(ZRBAfx::romanToInt(CADString(std::string(3000000, 'M'))), 2147483647);  // saturates
}

TEST(ZRBFileUtilNames, PartsOfPaths) {
  struct Case {
    const char* path;
    const char *dir, *dirSlash, *name, *ext;
  };
  const Case cases[] = {
      {"/a/b/c.txt", "/a/b", "/a/b/", "c.txt", "txt"},
      {"c.txt", "", "", "c.txt", "txt"},
      {"/a.b/c", "/a.b", "/a.b/", "c", ""},  // a dot in a directory is no extension
      {"/a/b.tar.gz", "/a", "/a/", "b.tar.gz", "gz"},
      {"/a/b.", "/a", "/a/", "b.", ""},
      {"/c", "", "/", "c", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ZRBFileUtil::GetDirPathFromFilePath(c.path, 0), CADUnicodeString(c.dir)) << c.path;
    EXPECT_EQ(ZRBFileUtil::GetDirPathFromFilePath(c.path, 1), CADUnicodeString(c.dirSlash)) << c.path;
    EXPECT_EQ(ZRBFileUtil::GetFileNameFromPath(c.path), CADUnicodeString(c.name)) << c.path;
    EXPECT_EQ(ZRBFileUtil::GetExtension(c.path), CADUnicodeString(c.ext)) << c.path;
  }
  EXPECT_EQ(ZRBFileUtil::HasExtension("/p/x.CADPart", "CADPart"), 1);
  EXPECT_EQ(ZRBFileUtil::HasExtension("/p/x.cadpart", "CADPart"), 0);
  EXPECT_EQ(ZRBFileUtil::HasExtension("/p/xCADPart", "CADPart"), 0);
  EXPECT_EQ(ZRBFileUtil::HasExtension("/p/x.feat", "feat"), 1);
}
