// The two-step commands' words, one row per kind: the status the PDM sets when its dialog has ended, the action
// that cancels the dialog, the message a failed start shows. The commands and the abandonment read the same row.
#pragma once

#include <string_view>

#include "ZRBRunningCommandRegistry.h"

// One row of the table.
struct ZRBTwoStepKind {
  ZRBRunningCommandKind kind = ZRBRunningCommandKind::None;
  std::string_view readyWord;   // "PDM_ADDTEMP_READY" ...
  std::string_view cancelWord;  // "x3CancelCadAddTemp" ...
  // The failure message shown when the start fails: catalog and message name ("ZRBAddTempCmd", "AddTempFailed");
  // empty for a command whose start shows its own messages.
  std::string_view failureCatalog;
  std::string_view failureMessage;
};

// User-interface thread only.
class ZRBTwoStepKinds {
 public:
  // The host timer's interval while a command waits for the PDM.
  static constexpr int kPollIntervalMs = 1000;

  // The row of `kind`; the row of None (all words empty) for None and unknown kinds.
  static const ZRBTwoStepKind& Of(ZRBRunningCommandKind kind);

  // The abandonment by a newer command (the first part of every integrity check): ends the registered waiting
  // command when its timer is pending (ZRBCommand::StopWaitingForPdm), then tells the PDM to cancel with the
  // registered kind's cancel word, through the client that command was registered with, and clears the registry.
  static void AbandonWaitingCommand();
};
