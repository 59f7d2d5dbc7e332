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
#include "ZRBConfigTopicManager.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPropertyManager.h"
#include "ZRBSamAddTempCmd.h"
#include "ZRBSamStartCmd.h"
#include "ZRBSamSynchronizeCmd.h"

namespace {

// One journaled call: "samcl:x3AddTempCad@6001" (the port only where the SAM client saw one).
using Calls = std::vector<std::string>;

class SamClientEndToEndTest : public PdmEndToEndFixture {
 protected:
  void SetUp() override {
    PdmEndToEndFixture::SetUp();
    ImportSampleSession();
    SetVariable("SAM_ZRBXMAP", Xmap().c_str());
    Pdm("settings", "pdm.strict_clients", "ON");
    ::unsetenv("SAMCONNECTPORT");
  }
  void TearDown() override {
    ::unsetenv("SAMCONNECTPORT");
    PdmEndToEndFixture::TearDown();
  }
  Calls JournalCalls() {
    Calls calls;
    for (const nlohmann::json& call : nlohmann::json::parse(Pdm("journal", "--json")))
      calls.push_back((call["role"] == "sam" ? "samcl:" : "pdmcl:") + call["action"].get<std::string>() +
                      (call.contains("connect_port") ? "@" + call["connect_port"].get<std::string>() : ""));
    return calls;
  }
  void Run(ZRBCommand* command) {
    Start(command);
    Loop().RunPending();
  }
  static std::string Global(const char* name) { return ZRBGlobalProperties::Process().GetGlobalProperty(name).str(); }
};

TEST_F(SamClientEndToEndTest, AddTemporaryRoundTripStaysWithSamclAndAStandardCommandSwitchesBack) {
  ::setenv("SAMCONNECTPORT", "6001", 1);
  CaptureTrace();
  Run(new ZRBSamAddTempCmd());
  Pdm("dialog", "complete", "--choose", "Bolt");
  Loop().AdvanceBy(1000);
  Loop().RunPending();
  EXPECT_TRUE(InSession("Bolt.CADPart"));
  EXPECT_TRUE(TraceHas("SAM_ZRB_DISABLE_LOAD_STDCADPARTS is NOT ON")) << "the follow-on read is the SAM read";
  Pdm("load-into-cad", "Plate");  // the standard read
  Loop().RunPending();
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3AddTempCad@6001", "pdmcl:x3WriteZRBFile"}));
  EXPECT_EQ(
      Global("ZRB_CONNECTION_CMD") + "|" + Global("ZRB_MESSAGE_PREFIX") + "|" + g_ZRBConfig.GetModulePrefix().str(),
      "pdmcl -b --||");
}

TEST_F(SamClientEndToEndTest, AnAbandonedSamAddTemporaryIsCancelledThroughSamcl) {
  Run(new ZRBSamAddTempCmd());
  Loop().AdvanceBy(2000);
  Pdm("load-into-cad", "Bolt");  // a standard read, and the standard dummy command after it
  Loop().RunPending();
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3AddTempCad", "samcl:x3CancelCadAddTemp", "pdmcl:x3WriteZRBFile"}));
}

TEST_F(SamClientEndToEndTest, AFailureShowsTheSamBoxWithTheSamText) {
  CaptureTrace();
  PdmFault("x3AddTempCad", "--code 0 --times 1");
  ExpectBox("SAMZRBAddTempCmd.AddTempFailed", CADDlgNfyAnswerOK);
  Run(new ZRBSamAddTempCmd());
  EXPECT_TRUE(TraceHas("MessageBox: [SAM]The temporary part could not be added from the SAM client")) << Trace();
}

TEST_F(SamClientEndToEndTest, StartLearnsThePortFromThePortFileAndKeepsItWhenTheFileIsMissingOrShort) {
  SetVariable("SAM_CONNECTPORT", "5000");
  Pdm("settings", "sam.port", "6001");
  // The fault for "StartSam" (none, then a missing and a short file) and the port samcl is given.
  const std::pair<const char*, const char*> steps[] = {
      {"", "5000"}, {"", "6001"}, {"--no-rewrite", "6001"}, {"--truncate", "6001"}};
  Calls expected;
  for (auto [fault, seen] : steps) {
    SCOPED_TRACE(std::string(fault) + seen);
    if (*fault) Pdm("fault", "set", "StartSam", "--times", "1", fault);
    Run(new ZRBSamStartCmd());
    expected.push_back("samcl:StartSam@" + std::string(seen));
    EXPECT_EQ(JournalCalls(), expected);
    EXPECT_STREQ(g_ZRBConfig.GetEnvVar("SAM_CONNECTPORT", 0), "6001");
    EXPECT_STREQ(std::getenv("SAMCONNECTPORT"), "6001");
  }
}

TEST_F(SamClientEndToEndTest, SynchroniseRowsAndTheFinalUpdateAllReachSamcl) {
  CADIProduct_var root = LoadIntoCad("Assembly"), added;
  ASSERT_TRUE(root);
  CADDocument* assembly = CADFrmEditor::GetCurrentEditor()->GetDocument();
  CADDocumentServices::SetNewDocumentDirectory(CADUnicodeString(Root()));
  CADDocument* part = nullptr;
  ASSERT_EQ(CADDocumentServices::New("CADPart", part), S_OK);
  ASSERT_EQ(root->AddExternalComponent(part, added), S_OK);
  added->GetReferenceProduct()->SetPartNumber("NEWPART");
  GlobPropertyManager.SetInstanceProperty(root, added, "ZRB_KEEP_AS_NEW", "1");
  Pdm("journal", "clear");
  auto* command = new ZRBSamSynchronizeCmd();
  ASSERT_EQ(command->UpdateProductDocumentInteractive(assembly), 1);
  ASSERT_EQ(command->GetJobs().Size(), 2);
  command->GetJobs().RunNext(*command);
  command->GetJobs().RunNext(*command);
  const Calls calls = JournalCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "samcl:x3UpdateFromFile"), 3) << "two rows and the final update";
  for (const std::string& call : calls) EXPECT_EQ(call.rfind("samcl:", 0), 0u) << call;
  command->Release();
}

TEST_F(SamClientEndToEndTest, StrictModeRefusesWordsAClientNeverSends) {
  WriteFile(XmapFile("upsfile.zrb"), "@ROOT\n{ACTION_SUCCESS} 0\n\n");
  EXPECT_EQ(RunBuiltTool("samcl", {"PdmSessn", "x3UsePdmStructure", XmapFile("upsfile.zrb")}).exitCode, 0);
  EXPECT_NE(ReadFile(XmapFile("upsfile.zrb")).find("refused: the SAM client (samcl) never sends x3UsePdmStructure"),
            std::string::npos);
  EXPECT_EQ(RunBuiltTool("pdmcl", {"StartSam"}).exitCode, 1);
  EXPECT_FALSE(Exists(XmapFile("samconnectport")));
  EXPECT_EQ(JournalCalls(), (Calls{"samcl:x3UsePdmStructure", "pdmcl:StartSam"}));
}

}  // namespace
