// The SAM client end to end: its commands reach the reference PDM as "samcl", whose journal records the client
// of every call and the "SAMCONNECTPORT" it saw; the standard commands that follow reach "pdmcl".
#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "CADDlgNotify.h"
#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADFrmEditor.h"
#include "PdmEndToEndFixture.h"
#include "ZRBClientMode.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBSamAddTempCmd.h"
#include "ZRBSamStartCmd.h"
#include "ZRBSamSynchronizeCmd.h"

namespace {

using nlohmann::json;

// One journaled call: "samcl:x3AddTempCad@6001" (the port only where the SAM client saw one).
using Calls = std::vector<std::string>;

class SamClientEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    SetVariable("SAM_ZRBXMAP", Xmap().c_str());
    ::unsetenv("SAMCONNECTPORT");
  }
  void TearDown() override {
    ::unsetenv("SAMCONNECTPORT");
    PdmEndToEndFixture::TearDown();
  }
  Calls JournalCalls() {
    Calls calls;
    for (const json& call : json::parse(Pdm("journal", "--json"))) {
      std::string text = (call["role"] == "sam" ? "samcl:" : "pdmcl:") + call["action"].get<std::string>();
      if (call.contains("connect_port")) text += "@" + call["connect_port"].get<std::string>();
      calls.push_back(text);
    }
    return calls;
  }
  static void Run(ZRBCommand* command) { command->Activate(nullptr, nullptr); }
  static std::string Global(const char* name) { return ZRBGlobalProperties::Process().GetGlobalProperty(name).str(); }
  static std::string ConnectPort() {
    const char* value = g_ZRBConfig.GetEnvVar("SAM_CONNECTPORT", 0);
    return value ? value : "(unset)";
  }
  bool InSession(const char* file) const {
    return CADDocumentServices::GetDocumentInSession(CADUnicodeString(XmapFile(file))) != nullptr;
  }
};

TEST_F(SamClientEndToEndTest, AddTemporaryRoundTripStaysWithSamclAndAStandardCommandSwitchesBack) {
  Pdm("settings", "pdm.strict_clients", "ON");
  ::setenv("SAMCONNECTPORT", "6001", 1);
  CaptureTrace();
  Run(new ZRBSamAddTempCmd());
  Pdm("dialog", "complete", "--choose", "Bolt");
  Loop().AdvanceBy(1000);
  Loop().RunPending();
  EXPECT_TRUE(InSession("Bolt.CADPart"));
  EXPECT_TRUE(TraceHas("SAM_ZRB_DISABLE_LOAD_STDCADPARTS is NOT ON")) << "the follow-on read is the SAM read";
  EXPECT_EQ(JournalCalls(), Calls{"samcl:x3AddTempCad@6001"});

  // A standard command next: the PDM chooses a load, the standard read answers it.
  Pdm("load-into-cad", "Plate");
  Loop().RunPending();
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3AddTempCad@6001", "pdmcl:x3WriteZRBFile"}));
  EXPECT_EQ(Global("ZRB_CONNECTION_CMD"), "pdmcl -b --");
  EXPECT_EQ(Global("ZRB_MESSAGE_PREFIX"), "");
  EXPECT_EQ(g_ZRBConfig.GetModulePrefix(), "");
}

TEST_F(SamClientEndToEndTest, AnAbandonedSamAddTemporaryIsCancelledThroughSamcl) {
  Run(new ZRBSamAddTempCmd());
  Loop().AdvanceBy(2000);
  // The standard read the PDM starts abandons the waiting command; the dummy command after it is standard too.
  Pdm("load-into-cad", "Bolt");
  Loop().RunPending();
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3AddTempCad", "samcl:x3CancelCadAddTemp", "pdmcl:x3WriteZRBFile"}));
  EXPECT_EQ(ZRBClientMode::Current(), ZRBClientMode::Standard());
}

TEST_F(SamClientEndToEndTest, AFailureShowsTheSamBoxWithTheSamText) {
  CaptureTrace();
  Pdm("fault", "set", "x3AddTempCad", "--code", "0", "--times", "1");
  ExpectBox("SAMZRBAddTempCmd.AddTempFailed", CADDlgNfyAnswerOK);
  Run(new ZRBSamAddTempCmd());
  Loop().RunPending();
  EXPECT_TRUE(TraceHas("MessageBox: [SAM]The temporary part could not be added from the SAM client")) << Trace();
}

TEST_F(SamClientEndToEndTest, StartLearnsThePortFromThePortFileAndKeepsItWhenTheFileIsMissingOrShort) {
  SetVariable("SAM_CONNECTPORT", "5000");
  Pdm("settings", "sam.port", "6001");
  struct Step {
    const char* name;
    std::vector<std::string> fault;  // for "StartSam"; empty: none
    const char* seen;                // the SAMCONNECTPORT samcl was given
  };
  const std::vector<Step> steps = {
      {"a new port", {}, "5000"},
      {"the next call sees it; the same port changes nothing", {}, "6001"},
      {"missing file", {"--no-rewrite"}, "6001"},
      {"short file", {"--truncate"}, "6001"},
  };
  Calls expected;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    if (!step.fault.empty()) {
      std::vector<std::string> fault{"fault", "set", "StartSam", "--times", "1"};
      fault.insert(fault.end(), step.fault.begin(), step.fault.end());
      PdmArgs(fault);
    }
    Run(new ZRBSamStartCmd());
    Loop().RunPending();
    expected.push_back("samcl:StartSam@" + std::string(step.seen));
    EXPECT_EQ(JournalCalls(), expected);
    EXPECT_EQ(ConnectPort(), "6001");
    EXPECT_STREQ(std::getenv("SAMCONNECTPORT"), "6001");
  }
}

TEST_F(SamClientEndToEndTest, SynchroniseRowsAndTheFinalUpdateAllReachSamcl) {
  Pdm("load-into-cad", "Assembly");
  Loop().RunPending();
  CADDocument* assembly = CADFrmEditor::GetCurrentEditor()->GetDocument();
  CADIProduct_var root, added;
  ASSERT_TRUE(SUCCEEDED(ZRBPSNTreeUtil::GetRootProductFromDocument(assembly, &root)) && root);
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(Root()));
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  ASSERT_EQ(root->AddExternalComponent(part, added), S_OK);
  added->GetReferenceProduct()->SetPartNumber("NEWPART");
  GlobPropertyManager.SetInstanceProperty(root, added, "ZRB_KEEP_AS_NEW", "1");
  Pdm("journal", "clear");
  Pdm("settings", "pdm.strict_clients", "ON");

  auto* command = new ZRBSamSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly), 1);
  ZRBSyncJobList& jobs = command->GetJobs();
  ASSERT_EQ(jobs.Size(), 2);
  jobs.RunNext(*command);
  jobs.RunNext(*command);
  EXPECT_EQ(jobs.At(1).result, ZRBSyncResult::Succeeded);
  const Calls calls = JournalCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "samcl:x3UpdateFromFile"), 3) << "two rows and the final update";
  for (const std::string& call : calls) EXPECT_EQ(call.rfind("samcl:", 0), 0u) << call;
  command->Release();
}

TEST_F(SamClientEndToEndTest, StrictModeRefusesWordsAClientNeverSends) {
  Pdm("settings", "pdm.strict_clients", "ON");
  WriteFile(XmapFile("upsfile.zrb"), "@ROOT\n{ACTION_SUCCESS} 0\n\n");
  const ToolRun sam = RunBuiltTool("samcl", {"PdmSessn", "x3UsePdmStructure", XmapFile("upsfile.zrb")});
  EXPECT_EQ(sam.exitCode, 0) << sam.err;
  EXPECT_NE(ReadFile(XmapFile("upsfile.zrb"))
                .find("Reference PDM: refused: the SAM client (samcl) never sends x3UsePdmStructure"),
            std::string::npos);
  const ToolRun standard = RunBuiltTool("pdmcl", {"StartSam"});
  EXPECT_EQ(standard.exitCode, 1);
  EXPECT_FALSE(Exists(XmapFile("samconnectport")));
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3UsePdmStructure", "pdmcl:StartSam"}));
}

}  // namespace
