// Runs the built reference PDM (pdmsim, pdmcl, samcl) against a temporary
// vault and exchange map, with a recording stand-in for ZRBSender.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ExchangeTestSupport.h"
#include "ToolRun.h"

namespace pdmsimtest {

using RunResult = ToolRun;

class PdmSimHarness {
 public:
  // A fresh directory with "vault" (initialised), "xmap" and "src".
  PdmSimHarness();
  ~PdmSimHarness();
  PdmSimHarness(const PdmSimHarness&) = delete;
  PdmSimHarness& operator=(const PdmSimHarness&) = delete;

  const std::string& Root() const { return root_; }
  std::string Vault() const { return root_ + "/vault"; }
  std::string Xmap() const { return root_ + "/xmap"; }
  std::string XmapFile(const std::string& name) const { return Xmap() + "/" + name; }

  // program: "pdmsim", "pdmcl" or "samcl"
  RunResult Run(const std::string& program, const std::vector<std::string>& args) const;
  // pdmsim ARGS; fails the test when the exit status is not 0.
  std::string Admin(const std::vector<std::string>& args) const;
  RunResult Session(const std::string& action, const std::string& file, const std::string& program = "pdmcl") const;
  void SetEnv(const std::string& name, const std::string& value) { env_[name] = value; }
  void UnsetEnv(const std::string& name) { env_.erase(name); }

  // The recording sender: every call's arguments, one line each.
  std::vector<std::string> SenderCalls() const;
  void MakeSenderFail();

  std::string WriteSource(const std::string& name, const std::string& bytes) const;
  static std::string ReadFile(const std::string& path) { return ReadBytes(path); }
  static void WriteFile(const std::string& path, const std::string& bytes) { WriteBytes(path, bytes); }
  static bool Exists(const std::string& path);

  // Requests as the module writes them.
  std::string WriteReadRequest(const std::map<std::string, std::string>& extraCommandSlots = {}) const;
  std::string WriteAddTempRequest() const;

  // A small vault: assembly GEARBOX (with subassembly SHAFT-ASM) holding BOLT
  // twice (once rotated), SHAFT, a design table on SHAFT, drawing BOLT-DRW.
  void FillSampleVault();

 private:
  std::string root_;
  std::map<std::string, std::string> env_;
};

}  // namespace pdmsimtest
