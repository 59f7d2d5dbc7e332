// The session command the CAD module runs: `pdmcl -b -- PdmSessn ACTION "FILE"`
// (or `samcl PdmSessn ...`). Journals the call, then answers it in the request
// file (or, for the cancel words, closes the waiting PDM dialog).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ExchangeFile.h"
#include "FaultPlan.h"
#include "Vault.h"

namespace pdmsim {

struct SessionCall {
  std::string role;               // "standard" (pdmcl) or "sam" (samcl)
  std::string action;             // the action word after "PdmSessn"
  std::vector<std::string> args;  // what follows the action word
  std::string vaultOption;        // --vault, "" for PDMSIM_VAULT
};

class SessionCommand {
 public:
  explicit SessionCommand(SessionCall call) : call_(std::move(call)) {}
  // Runs the call; the exit code (0 answered, 2 no vault, 3 bad request).
  int Run();

 private:
  // One answer being prepared over the request file.
  struct Answering {
    ExchangeFile file;
    std::string exchangeMap;
    std::int64_t seq = 0;
    std::optional<Fault> fault;
    std::string outcome;
  };

  int RunJournaled();
  int RunWithoutVault(const std::string& reason);
  int CloseDialogFor(Vault& vault, std::int64_t seq);
  void AnswerRead(Vault& vault, Answering& answering);
  void AnswerAddTemp(Answering& answering);
  void AnswerSettings(Vault& vault, Answering& answering);
  void AnswerUpdate(Vault& vault, Answering& answering);
  void AnswerValidate(Answering& answering);
  void AnswerUnsupported(Answering& answering);
  static std::string ExchangeMapOf(const ExchangeFile& request, const std::string& requestPath);

  SessionCall call_;
  std::unique_ptr<Vault> vault_;
  std::int64_t journaledSeq_ = 0;
};

}  // namespace pdmsim
