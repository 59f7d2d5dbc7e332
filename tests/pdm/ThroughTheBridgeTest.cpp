// The real component behind the host's automation dispatch: what the PDM side's requests do in the session.
#include "CADAutomationDispatcher.h"
#include "CADAutomationRequest.h"
#include "CADDlgNotify.h"
#include "CommandFixture.h"
#include "FakeTwoStepCmd.h"

namespace {

class ThroughTheBridgeTest : public CommandFixture {
 protected:
  CADAutomationDispatcher dispatcher;  // for "ZRBModComm"
};

TEST_F(ThroughTheBridgeTest, TheReadyWordEndsTheWaitingCommandAtItsNextPoll) {
  FakeTwoStepCmd::Journal journal;
  auto* command = new FakeTwoStepCmd("AddTemp", journal);
  command->Activate(nullptr, nullptr);
  EXPECT_EQ(dispatcher.HandleLine("GetStatus\n"), "OK\t1\tNO_STATUS\n");
  EXPECT_EQ(dispatcher.HandleLine("SetStatus\tPDM_ADDTEMP_READY\n"), "OK\t1\n");
  EXPECT_EQ(dispatcher.HandleLine("GetStatus\n"), "OK\t1\tNO_STATUS\n") << "performed on the loop, not yet";
  Loop().AdvanceBy(1000);
  EXPECT_EQ(dispatcher.HandleLine("GetStatus\n"), "OK\t1\tPDM_ADDTEMP_READY\n");
  EXPECT_EQ(journal, (std::vector<std::string>{"start AddTemp status=", "end AddTemp PDM_ADDTEMP_READY via pdmcl -b --",
                                               "destroyed AddTemp"}));
}

TEST_F(ThroughTheBridgeTest, StartCmdResultsReachTheObserver) {
  std::vector<std::pair<std::string, int>> results;
  dispatcher.SetObserver([&results](const CADAutomationRequest& request, HRESULT hr, int result) {
    EXPECT_EQ(hr, S_OK);
    const CADListValCADUnicodeString& arguments = request.GetArguments();
    results.emplace_back(arguments.Size() ? arguments[1].str() : std::string(), result);
  });
  ExpectBox("ZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);  // the read finds no exchange map here
  ExpectBox("ZRBHighlightCmd.NoFileAccess", CADDlgNfyAnswerOK);  // nor the highlight its file
  for (const char* line :
       {"StartCmd\tZRBReadCmd\tZRB_ADD_CMD\n", "StartCmd\tZRBNoSuchCmd\n", "StartCmd\tZRBHighlightCmd\t/a/b:c\n"}) {
    EXPECT_EQ(dispatcher.HandleLine(line), "OK\t1\n") << line;
  }
  Loop().RunPending();
  EXPECT_EQ(results,
            (std::vector<std::pair<std::string, int>>{{"ZRBReadCmd", 1}, {"ZRBNoSuchCmd", 0}, {"ZRBHighlightCmd", 1}}));
}

}  // namespace
