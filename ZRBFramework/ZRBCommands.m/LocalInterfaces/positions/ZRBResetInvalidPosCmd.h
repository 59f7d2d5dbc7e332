// Lists the new instances that stand away from the identity under their parent (the structure check), lets the
// designer choose in ZRBResetPosDialog which ones to put back at the identity, and reports in the message centre.
// The dialog outlives the command that opened it; a new command of this class shows its outcome.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBResetPosDialog;

// User-interface thread only.
class ZRBResetInvalidPosCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBResetInvalidPosCmd() : ZRBOneStepCommand("ZRBResetInvalidPosCmd") {}

  // --- the steps
  // 1 when the check ran (a dialog is up when it found instances), 0 on failure (message shown).
  int ResetPosition();
  // The dialog that ResetPosition opened; null when none (not owned: it destroys itself when closed).
  ZRBResetPosDialog* GetDialog() const { return dialog_; }
  // Shows the dialog's outcome and messages in the message centre through a new command of this class.
  static void ContinueReset(int result, CADListValCADUnicodeString& messages);

 protected:
  Outcome Work() override;

 private:
  ZRBResetPosDialog* dialog_ = nullptr;
};

ZRBResetInvalidPosCmd* fctCreateZRBResetInvalidPosCmd();
