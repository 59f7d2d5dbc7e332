// Writing exchange object files: the exact bytes, and failures that must
// never pass for a written request.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "ExchangeTestSupport.h"
#include "ZRBObjectManager.h"

namespace {
// The request whose bytes tests/data/exchange/golden-request.zrb pins.
void FillGoldenRequest(ZRBObjectManager& m) {
  m.CreateObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "0");
  ZRBObject* command = m.CreateObject("COMMAND");
  command->SetSlotValue("command", "REQUEST_READ");
  command->SetSlotValue("EXMAP", "/home/designer/xmap");
  command->SetSlotValue("TMP_PRAEFIX", " 17 ");
  ZRBObject* part = m.CreateObject("0");
  part->SetSlotValue("ZRB_OBID", "4711-0815");
  part->SetSlotValue("PartNumber", "Grundplatte \xC3\xA4\xC3\xB6\xC3\xBC");
  part->SetSlotValue("DESCRIPTION", "first line\r\nsecond line");
  part->SetSlotValue("EMPTY", "");
  part->SetSlotValueList("FILES", {"part.CADPart", "drawing.CADDrawing", ""});
  m.CreateObject("1");
}

TEST(ZRBObjectManagerWrite, GoldenBytesReadBackAsWritten) {
  ScratchDir dir;
  ZRBObjectManager m;
  FillGoldenRequest(m);
  ASSERT_EQ(m.Write(CADUnicodeString(dir.File("request.zrb"))), 1);
  EXPECT_EQ(ReadBytes(dir.File("request.zrb")), ReadBytes(TestData("golden-request.zrb")));
  EXPECT_EQ(dir.Listing(), "request.zrb");  // no temporary file left behind
  ZRBObjectManager read;
  ASSERT_EQ(read.Read(CADUnicodeString(TestData("golden-request.zrb"))), 1);
  EXPECT_EQ(Describe(read), Describe(m));
  EXPECT_EQ(read.GetObject("0")->GetSlotValue("description"), "first line\nsecond line");
  EXPECT_EQ(read.GetObject("0")->GetSlotValueList("files"),
            (CADListValCADString{"part.CADPart", "drawing.CADDrawing", ""}));
}

TEST(ZRBObjectManagerWrite, KeysLoseCrAndLfAndAKeyOfOnlyLineEndsFailsTheWrite) {
  ScratchDir dir;
  ZRBObjectManager m;
  m.CreateObject("A\r\nB");
  ASSERT_EQ(m.Write(CADUnicodeString(dir.File("f.zrb"))), 1);
  EXPECT_EQ(ReadBytes(dir.File("f.zrb")), "@AB\n\n");
  m.CreateObject("\r\n");
  TraceCapture trace;
  EXPECT_EQ(m.Write(CADUnicodeString(dir.File("f.zrb"))), 0);
  EXPECT_EQ(ReadBytes(dir.File("f.zrb")), "@AB\n\n");
  EXPECT_NE(trace.Text().find("ZRBObjectManager: problem writing to file " + dir.File("f.zrb")), std::string::npos);
  EXPECT_EQ(ZRBObjectManager().Write(CADUnicodeString(dir.File("f.zrb"))), 1);  // an empty manager, an empty file
  EXPECT_EQ(ReadBytes(dir.File("f.zrb")), "");
}

TEST(ZRBObjectManagerWrite, FailuresReturnZeroAndKeepTheOldFile) {
  ScratchDir dir;
  ::mkdir(dir.File("sub").c_str(), 0755);
  ::mkdir(dir.File("ro").c_str(), 0755);
  WriteBytes(dir.File("ro/f.zrb"), "@OLD\n");
  ::chmod(dir.File("ro").c_str(), 0555);
  ZRBObjectManager m;
  m.CreateObject("ROOT")->SetSlotValue("ACTION_SUCCESS", "0");
  struct Case {
    std::string path;
    const char* message;
  } cases[] = {
      {"/dev/full", "problem writing to file /dev/full"},       // disk full
      {dir.File("no/such/dir/f.zrb"), "Could not write file"},  // cannot create
      {dir.File("sub"), "problem writing to file"},             // a directory is in the way
      {dir.File("ro/f.zrb"), "Could not write file"},           // a read-only directory
  };
  for (const auto& c : cases) {
    if (c.path.ends_with("ro/f.zrb") && ::geteuid() == 0) continue;  // root writes into read-only directories
    TraceCapture trace;
    EXPECT_EQ(m.Write(CADUnicodeString(c.path)), 0) << c.path;
    EXPECT_NE(trace.Text().find(c.message), std::string::npos) << trace.Text();
  }
  ::chmod(dir.File("ro").c_str(), 0755);
  EXPECT_EQ(ReadBytes(dir.File("ro/f.zrb")), "@OLD\n");
  EXPECT_EQ(dir.Listing(), "ro sub");
}

TEST(ZRBObjectManagerWrite, ReplacementKeepsPermissionsAndReplacesLinks) {
  ScratchDir dir;
  WriteBytes(dir.File("f.zrb"), "@OLD\n");
  ::chmod(dir.File("f.zrb").c_str(), 0640);
  ASSERT_EQ(::symlink("f.zrb", dir.File("link.zrb").c_str()), 0);
  ZRBObjectManager m;
  m.CreateObject("NEW");
  ASSERT_EQ(m.Write(CADUnicodeString(dir.File("f.zrb"))), 1);
  struct stat st {};
  ASSERT_EQ(::stat(dir.File("f.zrb").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // A link at the name is replaced by the file; what it pointed to stays as it was.
  ZRBObjectManager other;
  other.CreateObject("OTHER");
  ASSERT_EQ(other.Write(CADUnicodeString(dir.File("link.zrb"))), 1);
  ASSERT_EQ(::lstat(dir.File("link.zrb").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
  EXPECT_EQ(ReadBytes(dir.File("f.zrb")), "@NEW\n\n");
  EXPECT_EQ(ReadBytes(dir.File("link.zrb")), "@OTHER\n\n");
  EXPECT_EQ(dir.Listing(), "f.zrb link.zrb");
}

TEST(ZRBObjectManagerWrite, LargeFilesRoundTrip) {
  ScratchDir dir;
  ZRBObjectManager m;
  for (int i = 0; i < 3000; ++i) {
    ZRBObject* o = m.CreateObject(CADString::BuildFromNum("N%d", i));
    o->SetSlotValue("VALUE", CADString(std::string(static_cast<std::size_t>(i % 300), 'a' + i % 26)));
    o->SetSlotValueList("LIST", {CADString::BuildFromNum("%d", i), "b\nc"});
  }
  ASSERT_EQ(m.Write(CADUnicodeString(dir.File("big.zrb"))), 1);
  ZRBObjectManager read;
  ASSERT_EQ(read.Read(CADUnicodeString(dir.File("big.zrb"))), 1);
  EXPECT_EQ(Describe(read), Describe(m));
}
}  // namespace
