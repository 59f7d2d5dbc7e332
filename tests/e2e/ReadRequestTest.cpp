// The read command against the reference PDM: what it asks for, how it takes the PDM's verdict, what it shows,
// and that the exchange map is left as it was found (no backup outlives a read) on every way out.
#include <filesystem>
#include <functional>
#include <map>

#include "CADDlgNotify.h"
#include "CADDlgReaper.h"
#include "CADSysCacheSettingCtrl.h"
#include "PdmEndToEndFixture.h"
#include "ZRBCache.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace {
namespace fs = std::filesystem;

class ReadRequestTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    CADSysCacheSettingCtrl::Reset();
    ImportSampleSession();
  }
  void TearDown() override {
    CADSysCacheSettingCtrl::Reset();
    PdmEndToEndFixture::TearDown();
  }

  // The "COMMAND" object of the request as the PDM received it in call `seq`.
  std::map<std::string, std::string> RequestSlots(int seq) {
    ZRBObjectManager request;
    EXPECT_TRUE(ReadRequest(seq, request));
    std::map<std::string, std::string> slots;
    ZRBObject* command = request.GetObject("COMMAND");
    if (!command) return slots;
    CADListValCADString names, values;
    command->GetAllSlots(names, values);
    for (int i = 1; i <= names.Size(); ++i) slots[names[i].str()] = values[i].str();
    return slots;
  }

  // The first line of a message as the catalog gives it.
  static std::string Text(const char* catalogKey, const std::string& parameter = "") {
    const std::string text = MessageText(catalogKey, parameter);
    return text.substr(0, text.find('\n'));
  }
  static bool Holds(const CADListValCADUnicodeString& lines, const std::string& text) {
    for (const CADUnicodeString& line : lines)
      if (line.str().find(text) != std::string::npos) return true;
    return false;
  }
};

// ---------------------------------------------------------------- the request

struct SlotCase {
  const char* name;
  std::function<void()> arrange;
  std::string expected;  // "SLOT=value ..."; no value: the slot must be absent
};

TEST_F(ReadRequestTest, RequestSlotsFollowTheCacheAndTimeStampSettings) {
  const std::string xmap = Xmap();
  const std::string released = Root() + "/released";
  const std::vector<SlotCase> cases = {
      {"nothing cached, host cache off", [] {},
       "COMMAND=REQUEST_READ EXMAP=" + xmap +
           " XMAPCONTENT= WORKWITHCACHE=OFF RELEASEMAP= CHECKTIMESTAMP= MARKEDFLAG= NODEFAULTSHAPE="},
      {"a cached file is advertised",
       [this] {
         WriteFile(XmapFile("Kept.CADPart"), "kept\n");
         GlobZRBCache.UpdateXMapFile("IT99", "2024-01-01 00:00:00.000", CADString(XmapFile("Kept.CADPart")), "PDMSIM",
                                     "Part");
       },
       "XMAPCONTENT=" + xmap + "/xmapfiles.zrb"},
      {"host checks time stamps", [this] { Dialogs().SetSetting("CADCache", "TimeStamp", 1); }, "CHECKTIMESTAMP=ON"},
      {"time stamps ignored whatever the host does",
       [this] {
         Dialogs().SetSetting("CADCache", "TimeStamp", 1);
         SetVariable("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP", "ON");
       },
       "CHECKTIMESTAMP=IGNORE"},
      {"the module switches the host's check off for the request",
       [this] {
         Dialogs().SetSetting("CADCache", "TimeStamp", 1);
         SetVariable("ZRB_ENABLE_CACHE_TS_ON_SUPPORT", "ON");
       },
       "CHECKTIMESTAMP="},
      {"the module switches the host's check off also when time stamps are ignored",
       [this] {
         Dialogs().SetSetting("CADCache", "TimeStamp", 1);
         SetVariable("ZRB_ENABLE_CACHE_TS_ON_SUPPORT", "ON");
         SetVariable("ZRB_DISABLE_CACHE_CHECK_TIMESTAMP", "ON");
       },
       "CHECKTIMESTAMP=IGNORE"},
      {"host cache active without a released cache", [this] { Dialogs().SetSetting("CADCache", "CacheActivation", 1); },
       "WORKWITHCACHE=ON RELEASEMAP="},
      {"host cache active with a released cache",
       [this, released] {
         fs::create_directories(released);
         Dialogs().SetSetting("CADCache", "CacheActivation", 1);
         SetVariable("ZRB_USERELEASEDCACHE", "ON");
         SetVariable("ZRB_RELEASEDCACHEDIR", released.c_str());
       },
       "WORKWITHCACHE=ON RELEASEMAP=" + released + "/vis" + xmap},
      {"tree graph only", [this] { Dialogs().SetSetting("VisuCustomize", "TreeGraphOnly", 0); }, "NODEFAULTSHAPE=ON"},
  };
  int seq = 0;
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    LoadIntoCad("Bolt");
    const std::map<std::string, std::string> slots = RequestSlots(++seq);
    for (const std::string& word : Words(c.expected)) {
      const std::string slot = word.substr(0, word.find('=')), value = word.substr(word.find('=') + 1);
      auto found = slots.find(slot);
      if (value.empty()) {
        EXPECT_TRUE(found == slots.end()) << slot << " = " << found->second;
      } else {
        EXPECT_EQ(found == slots.end() ? "(absent)" : found->second, value) << slot;
      }
    }
    if (std::string(c.name).find("switches") != std::string::npos) {
      EXPECT_EQ(CADSysCacheSettingCtrl::GetTimeStampCheck(), 1) << "a check switched off is on again afterwards";
    }
    EXPECT_FALSE(Exists(XmapFile("xmapfiles.zrb"))) << "the list for the PDM is removed after the call";
    EXPECT_EQ(Backups(), std::vector<std::string>{});
    // Next case from the standard settings again.
    g_ZRBConfig.ResetForTests();
    SetVariable("ZRBXMAP", Xmap().c_str());
    SetVariable("ZRB_DISABLE_WM_SUPPORT", "ON");
    Dialogs().SetSetting("CADCache", "TimeStamp", 0);
    Dialogs().SetSetting("CADCache", "CacheActivation", 0);
    Dialogs().RemoveRepository("VisuCustomize");
    CADSysCacheSettingCtrl::Reset();
  }
}

TEST_F(ReadRequestTest, AnExchangeMapPathWithShellCharactersReachesThePdmAsOneWord) {
  const std::string xmap = Root() + "/it's a $(map) `dir`";
  fs::create_directories(xmap);
  SetVariable("ZRBXMAP", xmap.c_str());
  LoadIntoCad("Bolt");
  const std::vector<PdmCall> calls = Journal();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].args, std::vector<std::string>{xmap + "/xfile.zrb"});
  EXPECT_TRUE(Exists(xmap + "/Bolt.CADPart"));
  EXPECT_EQ(RequestSlots(1)["EXMAP"], xmap);
}

// ---------------------------------------------------------------- the PDM's verdict

struct VerdictCase {
  const char* code;
  bool remarks;        // the PDM adds a STATS line
  int variant;         // of the message centre: 1 success, 2 failure, 3 success with remarks
  const char* status;  // key of the status line
  const char* information;
};

TEST_F(ReadRequestTest, TheVerdictDecidesTheMessageCentre) {
  const std::vector<VerdictCase> cases = {
      {"1", false, 1, "ZRBReadCmd.ReadOk", "ZRBReadCmd.LoadOk"},
      {"1", true, 1, "ZRBReadCmd.ReadOk", nullptr},
      {"3", true, 3, "ZRBReadCmd.ReadOk", nullptr},
      {"2", false, 3, "ZRBReadCmd.ReadOk", "ZRBReadCmd.ReadCanceled"},
      {"0", true, 2, "ZRBReadCmd.ReadFailed", nullptr},
  };
  for (const VerdictCase& c : cases) {
    SCOPED_TRACE(std::string("ACTION_SUCCESS ") + c.code);
    PdmFault("x3WriteZRBFile", std::string("--times 1 --code ") + c.code + (c.remarks ? " --stats remark-" : ""));
    LoadIntoCad("Bolt");
    const MessageCentreView centre = Dialogs().LastMessageCentre();
    ASSERT_TRUE(centre.found);
    EXPECT_EQ(centre.variant, c.variant);
    EXPECT_EQ(centre.status.str(), Text(c.status));
    EXPECT_EQ(Holds(centre.warnings, "remark-"), c.remarks) << "the PDM's STATS lines";
    if (c.information) {
      EXPECT_TRUE(Holds(centre.informations, Text(c.information)));
    }
    EXPECT_EQ(Backups(), std::vector<std::string>{});
    CADDlgReaper::Flush();
  }
}

// ---------------------------------------------------------------- refusals and broken answers

TEST_F(ReadRequestTest, WithoutReferencedDocumentsNothingIsAsked) {
  Dialogs().SetSetting("SymbolicLinks", "LoadLinkStatus", 0);
  ExpectBox("ZRBReadCmd.LoadReferenceOption", CADDlgNfyAnswerOK);
  LoadIntoCad("Bolt");
  EXPECT_TRUE(Journal().empty());
  EXPECT_FALSE(Dialogs().LastMessageCentre().found);
}

TEST_F(ReadRequestTest, WithoutAnExchangeMapNoFileIsTouched) {
  SetVariable("ZRBXMAP", nullptr);
  ExpectBox("ZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);
  WriteFile(XmapFile("Stale.CADPart"), "stale\n");
  LoadIntoCad("Bolt");
  EXPECT_TRUE(Journal().empty());
  EXPECT_FALSE(Exists(XmapFile("xfile.zrb")));
  EXPECT_EQ(Backups(), std::vector<std::string>{});
  EXPECT_EQ(ReadFile(XmapFile("Stale.CADPart")), "stale\n");
  EXPECT_EQ(Dialogs().LastMessageCentre().variant, 2);
}

struct BrokenCase {
  const char* name;
  std::function<void()> arrange;
  const char* box;      // expected message box, or null
  const char* warning;  // expected line of the message centre, or null
};

TEST_F(ReadRequestTest, EveryWayOutRestoresTheStaleFiles) {
  const std::vector<BrokenCase> cases = {
      {"truncated answer", [this] { PdmFault("x3WriteZRBFile", "--truncate --times 1"); }, nullptr,
       "ZRBReadCmd.AnswerIncomplete"},
      {"answer without ROOT",
       [this] {
         const std::string file = Root() + "/noroot.zrb";
         WriteFile(file, "@COMMAND\n{COMMAND} REQUEST_READ\n\n@IT1\n{OBID} IT1\n\n");
         PdmFault("x3WriteZRBFile", "--times 1 --answer-file " + file);
       },
       nullptr, "ZRBReadCmd.NoRootInAnswer"},
      {"garbage instead of an answer", [this] { PdmFault("x3WriteZRBFile", "--garbage --times 1"); }, nullptr,
       "ZRBReadCmd.AnswerIncomplete"},
      {"the PDM reports a failure", [this] { PdmFault("x3WriteZRBFile", "--code 0 --times 1"); }, nullptr, nullptr},
      {"the PDM cannot be started", [] { SetVariable("ZRB_CONNECTPDM", "/nonexistent/pdm-client"); },
       "ZRBAfx.ConnectFailed", nullptr},
  };
  for (const BrokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(XmapFile("Stale.CADPart"), "stale\n");
    WriteFile(XmapFile("Notes.txt"), "not a design table\n");
    const auto sampleBefore = fs::last_write_time(SampleDirectory() + "/Bolt.CADPart");
    c.arrange();
    if (c.box) ExpectBox(c.box, CADDlgNfyAnswerOK);
    LoadIntoCad("Bolt");
    const MessageCentreView centre = Dialogs().LastMessageCentre();
    EXPECT_EQ(centre.variant, 2) << "a failure";
    if (c.warning) {
      EXPECT_TRUE(Holds(centre.warnings, Text(c.warning, XmapFile("xfile.zrb"))))
          << testing::PrintToString(centre.warnings);
    }
    EXPECT_EQ(ReadFile(XmapFile("Stale.CADPart")), "stale\n");
    EXPECT_EQ(ReadFile(XmapFile("Notes.txt")), "not a design table\n");
    EXPECT_EQ(Backups(), std::vector<std::string>{});
    EXPECT_EQ(fs::last_write_time(SampleDirectory() + "/Bolt.CADPart"), sampleBefore);
    SetVariable("ZRB_CONNECTPDM", nullptr);
    CADDlgReaper::Flush();
  }
}

TEST_F(ReadRequestTest, AnOldRequestThatCannotBeRemovedStopsTheRead) {
  fs::create_directories(XmapFile("xfile.zrb"));  // no file operation can remove it
  ExpectBox("ZRBReadCmd.NoFileAccess", CADDlgNfyAnswerOK);
  LoadIntoCad("Bolt");
  EXPECT_TRUE(Journal().empty()) << "the PDM is not called on a stale request";
}

}  // namespace
