// The SAM client's commands without a PDM: the start command's port handling (the shell stands in for "samcl"
// and leaves the port file), the read settings taken under "SAM_" alone, and the follow-on commands.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "CommandFixture.h"
#include "XmapScratchDirectory.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFollowOnCommands.h"
#include "ZRBSamCreateCmd.h"
#include "ZRBSamReadCmd.h"
#include "ZRBSamStartCmd.h"
#include "ZRBSamSynchronizeCmd.h"
#include "ZRBSamUpdateCmd.h"

namespace {

class SamCommandsTest : public CommandFixture {
 protected:
  void SetUp() override {
    CommandFixture::SetUp();
    SetVariable("SAM_ZRBXMAP", xmap_.Root().c_str());
    ::unsetenv("SAMCONNECTPORT");
  }
  void TearDown() override {
    ::unsetenv("SAMCONNECTPORT");
    CommandFixture::TearDown();
  }
  // "samcl StartSam" as the shell runs it: notes the port it was given and leaves `bytes` as the port file
  // (none: no file), then exits with `status`.
  void SamclWrites(std::optional<std::string> bytes, int status = 0) {
    SetShellAnswer([this, bytes, status](const std::string&) {
      const char* seen = std::getenv("SAMCONNECTPORT");
      portsSeen_.push_back(seen ? seen : "(unset)");
      const std::string path = xmap_.Root() + "/samconnectport";
      std::filesystem::remove(path);
      if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
      return status;
    });
  }
  static std::string PortBytes(int port) { return std::string(reinterpret_cast<const char*>(&port), sizeof port); }
  static void Start() {
    auto* command = new ZRBSamStartCmd();
    command->Activate(nullptr, nullptr);
  }
  static std::string Setting() {
    const char* value = g_ZRBConfig.GetEnvVar("SAM_CONNECTPORT", 0);
    return value ? value : "(unset)";
  }
  static std::string Exported() {
    const char* value = std::getenv("SAMCONNECTPORT");
    return value ? value : "(unset)";
  }

  XmapScratchDirectory xmap_;
  std::vector<std::string> portsSeen_;
};

TEST_F(SamCommandsTest, StartLearnsANewPortAndKeepsTheOldOneOnAnyFailure) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    int status;
    const char* after;  // setting and process variable after the start
  };
  const std::vector<Case> cases = {
      {"new port", PortBytes(6001), 0, "6001"},
      {"same port", PortBytes(6001), 0, "6001"},
      {"missing file", std::nullopt, 0, "6001"},
      {"short file", std::string("\x12\x34", 2), 0, "6001"},
      {"samcl not found", PortBytes(7002), 127 << 8, "6001"},
      {"negative port is still a number", PortBytes(-3), 0, "-3"},
  };
  SetVariable("SAM_CONNECTPORT", "5000");
  std::string before = "5000";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SamclWrites(c.file, c.status);
    if (c.status) ExpectBox("SAMZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);
    Start();
    Loop().RunPending();
    ASSERT_FALSE(portsSeen_.empty());
    EXPECT_EQ(portsSeen_.back(), before) << "samcl is given the port known before the start";
    EXPECT_EQ(Setting(), c.after);
    EXPECT_EQ(Exported(), c.after);
    before = c.after;
  }
  EXPECT_EQ(ShellLines().front(), "samcl StartSam");
}

TEST_F(SamCommandsTest, ReadSettingsComeFromTheSamNamesAlone) {
  struct Case {
    const char* sam;       // SAM_ZRB_DISABLE_LOAD_STDCADPARTS
    const char* standard;  // ZRB_DISABLE_LOAD_STDCADPARTS
    int samRead;
    int standardRead;
  };
  const Case cases[] = {{"ON", "", 1, 0}, {"", "ON", 0, 1}, {"ON", "ON", 1, 1}, {"on", "", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sam) + "/" + c.standard);
    SetVariable("SAM_ZRB_DISABLE_LOAD_STDCADPARTS", c.sam);
    SetVariable("ZRB_DISABLE_LOAD_STDCADPARTS", c.standard);
    auto* sam = new ZRBSamReadCmd(1, 0, 100);
    EXPECT_EQ(sam->GetState().disableLoadStdCadParts, c.samRead);
    auto* standard = new ZRBReadCmd();
    EXPECT_EQ(standard->GetState().disableLoadStdCadParts, c.standardRead);
    sam->Release();
    standard->Release();
  }
}

TEST_F(SamCommandsTest, FollowOnCommandsBelongToTheClientOfTheCommandHandingOver) {
  auto* samSync = new ZRBSamSynchronizeCmd();
  auto* standardSync = new ZRBSynchronizeCmd();
  auto* samCreate = new ZRBSamCreateCmd();
  struct Case {
    const char* name;
    ZRBCommand* created;
    bool sam;
  };
  const Case cases[] = {
      {"SAM synchronise's update", ZRBFollowOnCommands::Create<ZRBUpdateCmd>(*samSync, "ZRBUpdateCmd", 1, 1, 1), true},
      {"standard synchronise's update",
       ZRBFollowOnCommands::Create<ZRBUpdateCmd>(*standardSync, "ZRBUpdateCmd", 1, 1, 1), false},
      {"SAM synchronise's read", ZRBFollowOnCommands::Create<ZRBReadCmd>(*samSync, "ZRBReadCmd", 1, 0, 100), true},
      {"SAM create's update", samCreate->CreateUpdateCmd(), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.created, nullptr);
    EXPECT_EQ(c.created->GetClientMode().IsSam(), c.sam);
    EXPECT_EQ(c.created->GetName().str().rfind("ZRBSam", 0) == 0, c.sam) << c.created->GetName().str();
    c.created->Release();
  }
  for (ZRBCommand* command :
       {static_cast<ZRBCommand*>(samSync), static_cast<ZRBCommand*>(standardSync), static_cast<ZRBCommand*>(samCreate)})
    command->Release();
}

}  // namespace
