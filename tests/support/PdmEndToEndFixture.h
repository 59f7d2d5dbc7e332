// Test support for end-to-end runs against the reference PDM: the module's commands reach the built "pdmcl"
// through the real shell, "pdmsim" acts as the PDM user, and "ZRBSender" calls come back into this process
// through the automation bridge. Each test gets a fresh vault and exchange map ("ZRBXMAP" points there).
//
//   class ReadTest : public PdmEndToEndFixture {};
//   TEST_F(ReadTest, X) {
//     ImportSampleSession();
//     Pdm("load-into-cad", "Assembly");   // the bridge queues StartCmd ZRBReadCmd
//     Loop().RunPending();                // the read runs, calls pdmcl, builds the structure
//     EXPECT_EQ(JournalActions(), (std::vector<std::string>{"x3WriteZRBFile"}));
//   }
//
// The bridge answers at once and performs on the loop: run a pdmsim command synchronously, then advance the
// virtual loop (RunPending, AdvanceBy) so that what it sent takes effect.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CADIProduct.h"
#include "CommandFixture.h"
#include "ToolRun.h"

class CADAutomationBridge;

// One call the PDM received, as its journal records it.
struct PdmCall {
  int seq = 0;
  std::string action;
  std::vector<std::string> args;
  std::string outcome;
};

// What a pdmsim run gave back.
using PdmRun = ToolRun;

class PdmEndToEndFixture : public CommandFixture {
 protected:
  PdmEndToEndFixture();
  ~PdmEndToEndFixture() override;
  void SetUp() override;
  void TearDown() override;

  // --- places
  const std::string& Root() const { return root_; }
  std::string Vault() const { return root_ + "/vault"; }
  std::string Xmap() const { return root_ + "/xmap"; }
  std::string XmapFile(std::string_view name) const { return Xmap() + "/" + std::string(name); }
  // The names in the exchange map, sorted.
  std::vector<std::string> XmapFileNames() const;

  // --- the PDM user: pdmsim with these arguments; a non-zero exit fails the test. Returns standard output.
  template <class... Args>
  std::string Pdm(const Args&... args) {
    return PdmArgs({std::string(args)...});
  }
  std::string PdmArgs(const std::vector<std::string>& args);
  // The same without judging the exit status.
  PdmRun RunPdm(const std::vector<std::string>& args);

  // --- the PDM's journal of session calls, oldest first
  std::vector<PdmCall> Journal();
  std::vector<std::string> JournalActions();
  // The copy of the request file the PDM took of call `seq` (as the module wrote it).
  std::string JournalRequest(int seq);

  // --- vault content: the sample session's documents (Assembly, Bracket, Fixings embedded, Bolt, Plate,
  // Plate-DRW and the design table PlateSizes), written by the host and imported into the vault.
  void ImportSampleSession();
  const std::string& SampleDirectory() const { return sampleDirectory_; }
  // The PDM user loads `partNumber` into the session; the window showing it becomes the current one. Returns
  // its root product, null when no window shows it.
  CADIProduct_var LoadIntoCad(const std::string& partNumber = "Assembly");

  // --- files
  static std::string ReadFile(const std::string& path);
  static void WriteFile(const std::string& path, std::string_view bytes);
  static bool Exists(const std::string& path);

 private:
  void SetEnvironment(const char* name, const std::string& value);
  void RestoreEnvironment();

  std::string root_;
  std::string sampleDirectory_;
  std::unique_ptr<CADAutomationBridge> bridge_;
  std::vector<std::pair<std::string, std::unique_ptr<std::string>>> savedEnvironment_;  // null: was unset
};
