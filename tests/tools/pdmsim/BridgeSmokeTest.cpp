// The reference PDM reaching a live session through the real automation bridge
// and the built ZRBSender: `load-into-cad` starts the read command, a
// completed dialog delivers its ready word. (The read command itself answers
// in the end-to-end tests of the module.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CADAutomationBridge.h"
#include "CADComponentFactories.h"
#include "CADEventLoop.h"
#include "CADIAutomation.h"
#include "CADICreateInstance.h"
#include "CADInteractiveApplication.h"
#include "PdmSimHarness.h"

namespace {

// Records every automation call the session performs.
class RecordingModComm : public CADIAutomation {
 public:
  static constexpr const char* kClassName = "PdmSimTestModComm";
  static std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
  }
  HRESULT Invoke(const CADString& method, const CADListValCADUnicodeString& arguments, int& result) override {
    std::string entry = method.str();
    for (const CADUnicodeString& argument : arguments) entry += "|" + argument.str();
    Calls().push_back(entry);
    result = 1;
    return S_OK;
  }
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIAutomation, CADBaseUnknown>(this, iid, out);
  }
};

class RecordingFactory : public CADICreateInstance {
 public:
  HRESULT CreateInstance(void** out) override {
    *out = static_cast<CADBaseUnknown*>(new RecordingModComm);
    return S_OK;
  }
};

const CADComponentFactories::Registration g_registration(RecordingModComm::kClassName,
                                                         [] { return new RecordingFactory; });

TEST(PdmSimThroughTheBridge, LoadIntoCadStartsTheReadAndACompletedDialogSendsItsReadyWord) {
  CADEventLoop::Instance().Reset();
  RecordingModComm::Calls().clear();
  CADInteractiveApplication app("PdmSimBridgeTest");
  pdmsimtest::PdmSimHarness harness;
  harness.FillSampleVault();
  harness.UnsetEnv("PDMSIM_SENDER");  // the real ZRBSender beside pdmsim

  CADAutomationBridge bridge(RecordingModComm::kClassName);
  std::string error;
  ASSERT_EQ(bridge.Start(harness.Root() + "/session.sock", &error), S_OK) << error;

  harness.Admin({"load-into-cad", "GEARBOX"});
  harness.Admin({"load-into-cad", "--add", "BOLT"});
  CADEventLoop::Instance().RunPending();
  EXPECT_EQ(RecordingModComm::Calls(),
            (std::vector<std::string>{"StartCmd|ZRBReadCmd|", "StartCmd|ZRBReadCmd|ZRB_ADD_CMD"}));

  RecordingModComm::Calls().clear();
  ASSERT_EQ(harness.Session("x3AddTempCad", harness.WriteAddTempRequest()).exitCode, 0);
  harness.Admin({"dialog", "complete", "--choose", "BOLT"});
  CADEventLoop::Instance().RunPending();
  EXPECT_EQ(RecordingModComm::Calls(), std::vector<std::string>{"SetStatus|PDM_ADDTEMP_READY"});

  bridge.Stop();
  pdmsimtest::RunResult gone = harness.Run("pdmsim", {"load-into-cad", "SHAFT"});
  EXPECT_EQ(gone.exitCode, 1);
  EXPECT_NE(gone.err.find("could not be asked to read it"), std::string::npos) << gone.err;
  CADEventLoop::Instance().Reset();
}

}  // namespace
