// Puts every instance of the current document's structure back at the position the PDM last knew
// ("ZRB_ORIG_MATRIX"); no dialog and no PDM round trip.
#pragma once

#include "ZRBOneStepCommand.h"

// User-interface thread only, like every command.
class ZRBRestorePositionCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBRestorePositionCmd() : ZRBOneStepCommand("ZRBRestorePositionCmd") {}

  // --- restoring; 1 every position could be restored, 0 otherwise
  // The whole structure of the editor current at construction.
  int RestorePosition();
  // The children of a product loaded from the PDM, depth first; a standard part's children stay where they are.
  int RestorePositionOnProduct(const CADIProduct_var& product);
  // Moves the child to its "ZRB_ORIG_MATRIX" (nothing to do when it has none).
  int ResetOriginalMatrix(const CADIProduct_var& parent, const CADIProduct_var& child);

 protected:
  // --- the one-step steps: restores, then shows the result in the message centre
  Outcome Work() override { return RestorePosition() ? Outcome::Succeeded : Outcome::Failed; }
  void ShowOutcome(int success) override;
};

ZRBRestorePositionCmd* fctCreateZRBRestorePositionCmd();
