// The journal of session calls: every call of the session command in arrival
// order, with a copy of its request file taken before anything is answered
// (the CAD side reuses request file names, so the copy is the only record).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Vault.h"

namespace pdmsim {

struct JournalEntry {
  std::int64_t seq = 0;
  std::string at;
  std::string role;  // "standard" or "sam"
  std::string action;
  std::vector<std::string> args;
  std::string requestCopy;  // absolute path of the copy, "" when there was no request file
  std::string outcome;
};

class Journal {
 public:
  explicit Journal(Vault& vault) : vault_(vault) {}

  // Records a call and copies requestFile (when not empty and present) into
  // the journal; commits at once. Returns the sequence number.
  std::int64_t Record(std::string_view role, std::string_view action, const std::vector<std::string>& args,
                      const std::string& requestFile);
  void SetOutcome(std::int64_t seq, std::string_view outcome);
  std::vector<JournalEntry> Entries();
  std::optional<JournalEntry> Entry(std::int64_t seq);
  void Clear();

  static std::string JoinArgs(const std::vector<std::string>& args);
  static std::vector<std::string> SplitArgs(std::string_view joined);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
