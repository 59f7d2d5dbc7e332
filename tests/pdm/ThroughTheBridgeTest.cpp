// The real component behind the host's automation dispatch: what the PDM side's requests do in the session.
#include "CADAutomationDispatcher.h"
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

}  // namespace
