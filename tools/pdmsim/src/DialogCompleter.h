// What the PDM user does in the dialog a two-step command opened: complete it
// (the answer is written into the request file and the ready word sent to the
// CAD session) or cancel it ("PDM_CANCEL").
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "DialogBook.h"
#include "Vault.h"

namespace pdmsim {

struct CompletionOptions {
  std::optional<std::int64_t> dialogId;  // act only on this dialog (delayed actions)
  std::vector<std::string> choose;       // part numbers; empty: the current choice
  std::optional<std::string> code;       // forced "ACTION_SUCCESS"
  std::vector<std::string> stats;        // extra "STATS" lines
  std::vector<std::string> failFor;      // part numbers that cannot be delivered
  std::string name;                      // create for document, save-as: the new part number
  std::string relativePath;              // create for document, save-as: the new file name ("" keeps it)
};

class DialogCompleter {
 public:
  explicit DialogCompleter(Vault& vault) : vault_(vault) {}

  int Complete(const CompletionOptions& options, std::ostream& out);
  // A create-for-document or save-as dialog: the new item is made from the request's document.
  int CompleteCreate(const Dialog& dialog, const CompletionOptions& options, std::ostream& out);
  int Cancel(std::optional<std::int64_t> dialogId, std::ostream& out);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
