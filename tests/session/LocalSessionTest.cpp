// The local session file end to end with the real zip and unzip: a save and a restore into a fresh session bring
// back documents, window names, records, file times and modified marks; refusals and a failing pack lose nothing.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"
#include "CommandFixture.h"
#include "SampleSession.h"
#include "ZRBAfx.h"
#include "ZRBArchiveManager.h"
#include "ZRBArchiveXml.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBPackCommand.h"
#include "ZRBPropertyManager.h"
#include "ZRBRestoreLocalCmd.h"
#include "ZRBSaveLocalCmd.h"

namespace {

class LocalSessionTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    CADDocumentServices::ResetSession();
    session_ = std::make_unique<SampleSession>();
    SetVariable("ZRBXMAP", session_->Directory().c_str());
    ZRBInfoUtil::SetUseDesigTables(1);
    SetVariable("ZRB_PACK_SESSION_CMD", "zip -0 -q -j");
    SetVariable("ZRB_PACK_ADD_SESSION_CMD", "zip -q -0 -j");
    SetVariable("ZRB_UNPACK_SESSION_CMD", "unzip -o -j -q -d");
    ZRBAfx::SetShellCall([this](const char* line) {
      lines_.emplace_back(line);
      return std::system(line);
    });
  }
  void TearDown() override {
    ZRBAfx::SetShellCall(nullptr);
    CADDocumentServices::ResetSession();
    CADFrmLayout::GetCurrentLayout().Reset();
    session_.reset();
    CommandFixture::TearDown();
  }

  CADDocument* Doc(const std::string& name) { return CADDocumentServices::GetDocumentInSession(Path(name)); }
  CADUnicodeString Path(const std::string& name) { return session_->Path(name); }
  std::string SessionFile() { return session_->Directory() + "/session.zrbsession"; }

  void OpenInWindow(const std::string& name, const char* windowName) {
    CADDocument* document = session_->Open(name);
    ASSERT_TRUE(document);
    CADFrmWindow* window = nullptr;
    ASSERT_EQ(CADFrmLayout::GetCurrentLayout().OpenWindow(document, window), S_OK);
    window->SetName(windowName);
  }
  // Runs the command; its warnings.
  template <class Command>
  std::vector<std::string> Run() {
    auto* command = new Command();
    command->Activate(nullptr, nullptr);
    std::vector<std::string> warnings;
    for (const CADUnicodeString& text : command->GetWarnings()) warnings.push_back(text.str());
    Loop().RunPending();
    return warnings;
  }
  // Ends the session as a designer would before a restore: no document, no window, no record.
  void FreshSession(int counter) {
    CADDocumentServices::ResetSession();
    CADFrmLayout::GetCurrentLayout().Reset();
    GlobPropertyManager.ResetForTests();
    GlobPropertyManager.SetTmpCounter(counter);
  }
  static std::string FileTime(const CADUnicodeString& path) {
    CADUnicodeString seconds;
    ZRBFileUtil::GetLastModificationFromFile(path, seconds);
    return seconds.str();
  }
  int PackCalls() const {
    int calls = 0;
    for (const auto& line : lines_) calls += line.rfind("zip ", 0) == 0;
    return calls;
  }

  std::unique_ptr<SampleSession> session_;
  std::vector<std::string> lines_;
};

TEST_F(LocalSessionTest, RoundTripIntoAFreshSession) {
  struct Case {
    const char* maxLine;
    int counterBefore;  // the fresh session's temporary counter
    int counterAfter;
    int manyCalls;
  } cases[] = {{"", 3, 42, 0}, {"200", 77, 77, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxLine);
    lines_.clear();
    SetVariable("ZRB_PACK_SESSION_MAX_COMMANDLINE", c.maxLine);
    OpenInWindow("Assembly.CADProduct", "Main assembly");
    OpenInWindow("Plate.CADPart", "Plate alone");
    GlobPropertyManager.SetTmpCounter(42);
    GlobPropertyManager.SetReferenceProperty("Bracket", "ZRB_OBID", "OB-7");
    GlobPropertyManager.SetFileProperty(Path("Bolt.CADPart"), "ZRB_LAST_KNOWN_MOD_TIME", "1500000000");
    Doc("Plate.CADPart")->SetDirty(1);
    // An archive rooted in Bracket with a changed non-CAD file, and Plate's table modified since the PDM had it.
    const CADUnicodeString structure = Path("A.xml");
    ZRBArchive archive;
    archive.root.data.attributes = {{"PARTNUMBER", "Bracket"}, {"FILENAME", "Bracket.CADProduct"}};
    archive.nonCads = {{"notes.txt", false, {{"FILENAME", "notes.txt"}}}};
    session_->WriteFile("A.xml", ZRBArchiveXml::Write(archive));
    session_->WriteFile("ZRBArchive.dtd", ZRBArchiveXml::DtdText());
    session_->WriteFile("A.zip", "packed");
    session_->WriteFile("notes.txt", "notes");
    ASSERT_TRUE(GlobArchiveManager.Read(structure));
    GlobArchiveManager.SetNonCadChanged(structure, 1);
    GlobPropertyManager.SetFileProperty(Path("Bracket.CADProduct"), "ZRB_ARCHIVE_CONTENT_FILE_NAME", structure);
    GlobPropertyManager.SetFileProperty(Path("Bracket.CADProduct"), "ZRB_ARCHIVE_FILE", "A.zip");
    GlobPropertyManager.SetFileProperty(Path("PlateSizes.xls"), "ZRB_OBID", "DT-1");
    GlobPropertyManager.SetFileProperty(Path("PlateSizes.xls"), "ZRB_TYPE", "DESIGNTABLE");
    GlobPropertyManager.SetFileProperty(Path("PlateSizes.xls"), "ZRB_LAST_KNOWN_MOD_TIME", "1000000000");
    session_->WriteFile("Unrelated.txt", "x");
    ZRBFileUtil::SetLastModificationToFile(Path("Unrelated.txt"), "1400000000");

    EXPECT_TRUE(Run<ZRBSaveLocalCmd>().empty());
    EXPECT_TRUE(std::filesystem::exists(SessionFile()));
    EXPECT_EQ(PackCalls() > 2, c.manyCalls != 0) << PackCalls();
    if (c.manyCalls) {
      EXPECT_EQ(lines_.at(1).rfind("zip -q -0 -j ", 0), 0u);
    }
    EXPECT_FALSE(Doc("Plate.CADPart")->IsDirty());

    FreshSession(c.counterBefore);
    GlobArchiveManager.Clear();
    for (const char* name : {"A.xml", "A.zip", "notes.txt", "PlateSizes.xls"})
      std::filesystem::remove(session_->Directory() + "/" + name);
    ZRBFileUtil::SetLastModificationToFile(Path("Bolt.CADPart"), "1600000000");
    EXPECT_TRUE(Run<ZRBRestoreLocalCmd>().empty());

    std::vector<std::string> windows;
    for (CADFrmWindow* window : CADFrmLayout::GetCurrentLayout().GetWindowList())
      windows.push_back(window->GetName().str());
    EXPECT_EQ(windows, (std::vector<std::string>{"Main assembly", "Plate alone"}));
    ASSERT_TRUE(Doc("Plate.CADPart") && Doc("Assembly.CADProduct"));
    EXPECT_TRUE(Doc("Plate.CADPart")->IsDirty());
    EXPECT_FALSE(Doc("Assembly.CADProduct")->IsDirty());
    EXPECT_EQ(GlobPropertyManager.GetReferenceProperty("Bracket", "ZRB_OBID"), CADUnicodeString("OB-7"));
    EXPECT_EQ(GlobPropertyManager.GetTempCounter(), c.counterAfter);
    EXPECT_EQ(FileTime(Path("Bolt.CADPart")), "1500000000");
    EXPECT_EQ(FileTime(Path("Unrelated.txt")), "1400000000");
    EXPECT_TRUE(GlobArchiveManager.ArchiveLoaded(structure));
    EXPECT_TRUE(GlobArchiveManager.GetNonCadChanged(structure));
    EXPECT_EQ(session_->ReadFile("notes.txt") + session_->ReadFile("A.zip"), "notespacked");
    ASSERT_TRUE(std::filesystem::exists(session_->Directory() + "/PlateSizes.xls"));
    EXPECT_NE(FileTime(Path("PlateSizes.xls")), "1000000000");  // still newer than the PDM's: still modified
    GlobArchiveManager.Clear();
    FreshSession(0);
    std::filesystem::remove(SessionFile());
  }
}

TEST_F(LocalSessionTest, RestoreRefusesAndLeavesTheExchangeMapAlone) {
  OpenInWindow("Assembly.CADProduct", "Main");
  ASSERT_TRUE(Run<ZRBSaveLocalCmd>().empty());
  const std::string directory = session_->Directory();
  const auto index = [&](const std::string& text) {
    return [&, text] {
      session_->WriteFile("content.session", text);
      std::system(("cd '" + directory + "' && zip -q session.zrbsession content.session").c_str());
    };
  };
  struct Case {
    const char* name;
    std::function<void()> prepare;
    bool closeFirst;
    const char* warning;
  } cases[] = {
      {"session not empty", [] {}, false, "Close the documents"},
      {"wrong identity", index("someone@elsewhere\n0\n0\n" + directory + "/Assembly.CADProduct\nMain\n"), true,
       "another user"},
      {"damaged index", index("me@here\nseven\n0\n"), true, "missing or damaged"},
      {"no session file", [&] { std::filesystem::remove(SessionFile()); }, true, "no session file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.closeFirst) FreshSession(0);
    c.prepare();
    ZRBFileUtil::SetLastModificationToFile(Path("Plate.CADPart"), "1300000000");
    const auto warnings = Run<ZRBRestoreLocalCmd>();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
    EXPECT_EQ(FileTime(Path("Plate.CADPart")), "1300000000");
  }
}

TEST_F(LocalSessionTest, AFailedSaveKeepsThePreviousSessionFile) {
  OpenInWindow("Assembly.CADProduct", "Main");
  const std::string missingDirectory = session_->Directory() + "/missing/s.zrbsession";
  struct Case {
    const char* variable;
    std::string value;
    const char* warning;  // null: saved
    const char* restore;
  } cases[] = {{"ZRB_PACK_SESSION_CMD", "false", "could not be packed", "zip -0 -q -j"},
               {"ZRB_LOCAL_SESSIONFILE_PATH", missingDirectory, "cannot be read or written", ""},
               {"ZRB_PACK_SESSION_MAX_COMMANDLINE", "many", nullptr, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variable);
    session_->WriteFile("session.zrbsession", "previous");
    SetVariable(c.variable, c.value.c_str());
    const auto warnings = Run<ZRBSaveLocalCmd>();
    SetVariable(c.variable, c.restore);
    if (!c.warning) {
      EXPECT_TRUE(warnings.empty());
      EXPECT_NE(session_->ReadFile("session.zrbsession"), "previous");
      continue;
    }
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
    EXPECT_EQ(session_->ReadFile("session.zrbsession"), "previous");
    for (const auto& entry : std::filesystem::directory_iterator(session_->Directory()))
      EXPECT_EQ(entry.path().filename().string().rfind(".zrbsession", 0), std::string::npos) << entry.path();
  }
}

TEST_F(LocalSessionTest, ExitStatusRules) {
  struct Case {
    const char* line;
    int highestGood;
    int ok;
  } cases[] = {{"exit 0", 0, 1},     {"exit 1", 0, 0},     {"exit 1", 1, 1},      {"exit 2", 1, 0},
               {"exit 127", 200, 0}, {"exit 126", 200, 0}, {"kill -9 $$", 200, 0}};
  for (const Case& c : cases) EXPECT_EQ(ZRBPackCommand::RunLine(c.line, "Test", c.highestGood), c.ok) << c.line;
  // The status could not be collected: only a child already reaped by someone else counts as a success.
  for (const auto& [error, ok] : {std::pair{ECHILD, 1}, {EAGAIN, 0}}) {
    const int code = error;
    ZRBAfx::SetShellCall([code](const char*) { return errno = code, -1; });
    EXPECT_EQ(ZRBPackCommand::RunLine("zip x", "Test", 0), ok) << error;
  }
  EXPECT_TRUE(ZRBPackCommand::BuildLines("zip a", "zip a", {}, 100).empty());
  EXPECT_TRUE(ZRBPackCommand::BuildLines("zip a", "zip a", {std::string(200, 'x')}, 100).empty());
}

}  // namespace
