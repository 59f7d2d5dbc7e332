// The PDM-side dialogs that two-step commands open (add-temporary and the
// like): at most one is open at a time; it stays open until the PDM user
// completes or cancels it or the CAD side sends the action's cancel word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Vault.h"

namespace pdmsim {

struct Dialog {
  std::int64_t id = 0;  // sequence number of the call that opened it
  std::string action;
  std::string requestFile;
  std::string exmap;
  std::string role;
  std::string openedAt;
  std::string state;  // "open", "completed", "cancelled", "closed by CAD", "superseded"
  std::string closedAt;
  std::string outcome;
};

class DialogBook {
 public:
  explicit DialogBook(Vault& vault) : vault_(vault) {}

  // Opens a dialog (an earlier open one is superseded).
  void Open(const Dialog& dialog);
  std::optional<Dialog> Current();
  std::optional<Dialog> Find(std::int64_t id);
  void Close(std::int64_t id, std::string_view state, std::string_view outcome);

  // The status word the CAD side waits for when a dialog of this action ends
  // well; "" for actions that open no dialog.
  static std::string ReadyWordFor(std::string_view action);
  // The action whose dialog a cancel word closes, "" when it is none.
  static bool CancelWordCloses(std::string_view cancelWord, std::string_view action);
  static bool IsCancelWord(std::string_view action);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
