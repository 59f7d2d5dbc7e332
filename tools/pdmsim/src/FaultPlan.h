// Faults injected into the session command for tests, set per action word in
// the vault ("*" applies to every action without a fault of its own).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vault.h"

namespace pdmsim {

struct Fault {
  std::string action;
  std::optional<std::string> code;        // forced "ACTION_SUCCESS"
  std::vector<std::string> stats;         // extra "STATS" lines
  bool noRewrite = false;                 // leave the request file as it is
  bool garbage = false;                   // overwrite the request with bytes that are no exchange file
  bool truncate = false;                  // write the answer cut off in the middle of a line
  int delayMs = 0;                        // wait before answering
  std::vector<std::string> failParts;     // part numbers that cannot be delivered, created or saved
  std::vector<std::string> validateFail;  // part numbers whose node validation fails
  int remaining = -1;                     // calls left; -1 for every call
  std::string answerFile;                 // a canned answer written instead of the PDM's own
};

class FaultPlan {
 public:
  explicit FaultPlan(Vault& vault) : vault_(vault) {}

  // The fault for this call (counting one use down), if any.
  std::optional<Fault> Take(std::string_view action);
  void Set(const Fault& fault);
  void Clear(std::string_view action);
  void ClearAll();
  std::vector<Fault> All();

 private:
  std::optional<Fault> Find(std::string_view action);
  Vault& vault_;
};

}  // namespace pdmsim
