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
#include "ScopedEnv.h"
#include "ToolRun.h"

class CADAutomationBridge;
class ZRBObjectManager;

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
  // The same read into `request`; false when it does not read.
  bool ReadRequest(int seq, ZRBObjectManager& request);
  // The number of the last call of `action`, 0 when there is none.
  int LastCall(std::string_view action);
  // The blank-separated words of a text.
  static std::vector<std::string> Words(std::string_view text);
  // pdmsim with blank-separated arguments ("dialog complete --name P-1"); "" runs nothing.
  std::string PdmLine(std::string_view words);
  // pdmsim "fault set ACTION OPTIONS" (options blank-separated); no options set no fault.
  void PdmFault(std::string_view action, std::string_view options);

  // --- what the session shows
  // The catalog text of "Catalog.Key" with one optional parameter.
  static std::string MessageText(std::string_view catalogKey, const std::string& parameter = {});
  // The newest message centre as "status|warning|warning...".
  std::string CentreText();
  // The read's backups ("ZRBBACKUP_...") left in the exchange map.
  std::vector<std::string> Backups() const;
  // Whether the session holds the document of that exchange-map file.
  bool InSession(std::string_view xmapName) const;
  // Activates a command (it runs what it can at once; the rest waits on the loop).
  template <class C>
  static C* Start(C* command) {
    command->Activate(nullptr, nullptr);
    return command;
  }

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
  std::string root_;
  std::string sampleDirectory_;
  std::unique_ptr<CADAutomationBridge> bridge_;
  std::unique_ptr<ScopedEnv> environment_;
};
