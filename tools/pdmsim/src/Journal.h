// The journal of session calls: every call of the session command in arrival
// order, with a copy of its request file taken before anything is answered,
// of the exchange-map file list the request named, and of the answer as it
// was written (the CAD side reuses file names, so the copies are the only
// record).
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
  std::string answerCopy;    // "" when nothing was written over the request
  std::string answerSource;  // "built", "built, truncated", "injected FILE[, truncated]", "garbage", "none"
  std::string xmapListCopy;  // the exchange-map file list ("xmapfiles.zrb") the request named
  std::optional<std::string> connectPort;  // "SAMCONNECTPORT" as the SAM client saw it; none: unset or standard
};

class Journal {
 public:
  explicit Journal(Vault& vault) : vault_(vault) {}

  // Records a call and copies requestFile (when not empty and present) into
  // the journal; commits at once. Returns the sequence number.
  std::int64_t Record(std::string_view role, std::string_view action, const std::vector<std::string>& args,
                      const std::string& requestFile);
  void SetOutcome(std::int64_t seq, std::string_view outcome);
  // Copies the answer written to `answerFile` (empty: none was written) and says where it came from.
  void KeepAnswer(std::int64_t seq, const std::string& answerFile, std::string_view source);
  // Copies the exchange-map file list the request named; a missing list is noted as such.
  void KeepExchangeMapList(std::int64_t seq, const std::string& listFile);
  // The "SAMCONNECTPORT" the call saw (null: the variable was not set).
  void KeepConnectPort(std::int64_t seq, const char* port);
  std::vector<JournalEntry> Entries();
  std::optional<JournalEntry> Entry(std::int64_t seq);
  void Clear();

  static std::string JoinArgs(const std::vector<std::string>& args);
  static std::vector<std::string> SplitArgs(std::string_view joined);

 private:
  // Copies `file` into the journal directory as "<seq>-<label>"; the copy's path, or "" with `error`.
  std::string CopyIn(std::int64_t seq, const std::string& file, const std::string& label, std::string& error);

  Vault& vault_;
};

}  // namespace pdmsim
