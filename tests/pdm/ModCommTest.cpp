// The module-communication component as the PDM side reaches it: by class name through component
// instantiation, by its own interface and by method name through the automation dispatch.
#include "CADAutomationDispatcher.h"
#include "CADAutomationSnapshot.h"
#include "CADCommand.h"
#include "CADDlgNotify.h"
#include "CADInstantiateComponent.h"
#include "CommandFixture.h"
#include "FakeTwoStepCmd.h"
#include "ZRBClientMode.h"
#include "ZRBIModComm.h"
#include "ZRBInfoUtil.h"

namespace {

class ModCommTest : public CommandFixture {
 protected:
  template <class Interface>
  static CADVar<Interface> Create() {
    void* raw = nullptr;
    EXPECT_EQ(CADInstantiateComponent("ZRBModComm", Interface::ClassId(), &raw), S_OK);
    return CADVar<Interface>::Adopt(static_cast<Interface*>(raw));
  }
  static HRESULT Invoke(const char* method, std::vector<const char*> arguments, int& result) {
    CADListValCADUnicodeString list;
    for (const char* argument : arguments) list.Append(argument);
    return Create<CADIAutomation>()->Invoke(method, list, result);
  }
};

TEST_F(ModCommTest, EveryNewInstanceSharesTheOneStatus) {
  CADString status = "stale";
  ASSERT_TRUE(Create<ZRBIModComm>());
  EXPECT_EQ(Create<ZRBIModComm>()->GetStatus(status), 1);
  EXPECT_EQ(status, "") << "a fresh process has no status";

  EXPECT_EQ(Create<ZRBIModComm>()->SetStatus("PDM_CANCEL"), 1);
  for (int i = 0; i < 3; ++i) {
    Create<ZRBIModComm>()->GetStatus(status);
    EXPECT_EQ(status, "PDM_CANCEL");
  }
  std::string published;
  EXPECT_TRUE(CADAutomationSnapshot::Read("ZRBModComm", "Status", published));
  EXPECT_EQ(published, "PDM_CANCEL") << "the bridge answers GetStatus from the snapshot";
}

TEST_F(ModCommTest, TheDispatchInterfaceChecksMethodsAndArguments) {
  struct Case {
    const char* method;
    std::vector<const char*> arguments;
    HRESULT hr;
    int result;
    const char* designTables = nullptr;  // the switch afterwards; null: not looked at
  };
  for (const Case& c :
       {Case{"SetStatus", {"PDM_ADDTEMP_READY"}, S_OK, 1}, Case{"GetStatus", {}, S_OK, 1},
        Case{"SetStatus", {}, E_INVALIDARG, 0}, Case{"SetStatus", {"a", "b"}, E_INVALIDARG, 0},
        Case{"StartCmd", {}, E_INVALIDARG, 0}, Case{"StartCmd", {"NoSuchCmd"}, S_OK, 0},
        Case{"WriteXml", {"/only/one"}, E_INVALIDARG, 0}, Case{"SetUseDesignTables", {"0"}, S_OK, 1, "OFF"},
        Case{"SetUseDesignTables", {"7"}, S_OK, 1, "ON"}, Case{"SetUseDesignTables", {"0"}, S_OK, 1, "OFF"},
        Case{"SetUseDesignTables", {"-1"}, S_OK, 1, "ON"}, Case{"SetUseDesignTables", {"yes"}, E_INVALIDARG, 0},
        Case{"SetUseDesignTables", {"+-1"}, E_INVALIDARG, 0}, Case{"SetUseDesignTables", {"1 "}, E_INVALIDARG, 0},
        Case{"setstatus", {"x"}, E_FAIL, 0}, Case{"Quit", {}, E_FAIL, 0}}) {
    SCOPED_TRACE(std::string(c.method) + "/" + std::to_string(c.arguments.size()));
    int result = 0;
    EXPECT_EQ(Invoke(c.method, c.arguments, result), c.hr);
    EXPECT_EQ(result, c.result);
    EXPECT_TRUE(!c.designTables || ZRBInfoUtil::GetUseDesignTables() == c.designTables);
  }
  CADString status;
  Create<ZRBIModComm>()->GetStatus(status);
  EXPECT_EQ(status, "PDM_ADDTEMP_READY");
}

TEST_F(ModCommTest, StartCmdCreatesTheNamedCommandInItsMode) {
  struct Case {
    const char* command;
    const char* argument;
    int result;
    const char* debugLine;  // null: none expected
    const char* started;    // what the started command traces; null: nothing started
  };
  const Case cases[] = {
      {"ZRBReadCmd", "ZRB_ADD_CMD", 1, "ZRB: Activate Read Command", "ZRBReadCmd (mode 5)"},
      {"ZRBReadCmd", "", 1, "ZRB: Activate Read Command", "ZRBReadCmd (mode 1)"},
      {"ZRBReadCmd", "zrb_add_cmd", 1, "ZRB: Activate Read Command", "ZRBReadCmd (mode 1)"},
      {"ZRB_ADD_CMD", "", 1, "ZRB: Activate Read Command", "ZRBReadCmd (mode 5)"},
      {"ZRB_ADD_CMD", "anything", 1, "ZRB: Activate Read Command", "ZRBReadCmd (mode 5)"},
      {"SZRBImportCmd", "", 1, nullptr, "ZRBReadCmd (mode 2)"},
      {"ZRBReadMarkedCmd", "", 1, "ZRB: Activate Read Marked Command", "ZRBReadCmd (mode 0)"},
      {"ZRBHighlightCmd", "/x/hl.txt", 1, "ZRB: Activate Highlight Command", "ZRB exchangefile not found"},
      {"ZRBSetWorkplaneCmd", "PN-1", 1, "ZRB: Set Workplane Command", "ZRB exchangefile not found"},
      {"ZRBUpdateCmd", "", 0, nullptr, nullptr},
      {"zrbreadcmd", "", 0, nullptr, nullptr},
      {"", "", 0, nullptr, nullptr},
  };
  CaptureTrace();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.argument);
    const std::size_t before = Trace().size();
    const std::size_t live = CADCommand::LiveCount();
    // The read runs at once and finds no exchange map here.
    if (c.started && std::string_view(c.started).starts_with("ZRBReadCmd "))
      ExpectBox("ZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);
    // Highlight and work plane find no command file here.
    if (c.started && std::string_view(c.started).starts_with("ZRB exchangefile"))
      ExpectBox(CADString(c.command) + ".NoFileAccess", CADDlgNfyAnswerOK);
    EXPECT_EQ(Create<ZRBIModComm>()->StartCmd(c.command, c.argument), c.result);
    const std::string trace = Trace().substr(before);
    EXPECT_NE(trace.find(std::string("iCommand:") + c.command), std::string::npos);
    if (c.debugLine) {
      EXPECT_NE(trace.find(c.debugLine), std::string::npos) << trace;
    }
    if (c.started) {
      EXPECT_NE(trace.find(std::string("ZRB: ") + c.started), std::string::npos) << trace;
      EXPECT_EQ(CADCommand::LiveCount(), live + 2) << "the command and the dummy command, both ending";
    } else {
      EXPECT_EQ(CADCommand::LiveCount(), live) << "nothing started";
    }
    Loop().RunPending();
    EXPECT_EQ(CADCommand::LiveCount(), live);
  }
}

// Every start from the component is followed by a dummy command, which puts the standard client back in force.
TEST_F(ModCommTest, AStartLeavesTheStandardClientInForce) {
  ZRBClientMode::Sam().Apply();
  ExpectBox("ZRBAfx.ConnectFailed", CADDlgNfyAnswerOK);  // the read finds no exchange map here
  EXPECT_EQ(Create<ZRBIModComm>()->StartCmd("ZRBReadMarkedCmd", ""), 1);
  EXPECT_EQ(ZRBClientMode::Current(), ZRBClientMode::Standard());

  ZRBClientMode::Sam().Apply();
  CADListValCADUnicodeString messages;
  EXPECT_EQ(Create<ZRBIModComm>()->WriteXml("/x/root.CADProduct", "/x/root.xml", messages), 1);
  EXPECT_EQ(ZRBClientMode::Current(), ZRBClientMode::Standard());
  ASSERT_EQ(messages.Size(), 1);  // no such root-product file: the command's failure reaches the caller
  EXPECT_EQ(messages[1], "Failed to open Root Product file");
}

// The real component behind the host's automation dispatch: the PDM side's ready word ends a waiting command.
TEST_F(ModCommTest, TheReadyWordThroughTheBridgeEndsTheWaitingCommandAtItsNextPoll) {
  CADAutomationDispatcher dispatcher;
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
