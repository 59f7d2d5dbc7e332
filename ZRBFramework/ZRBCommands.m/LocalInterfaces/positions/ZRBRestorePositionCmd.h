// Puts every instance of the current document's structure back at the position the PDM last knew
// ("ZRB_ORIG_MATRIX"); no dialog and no PDM round trip.
#pragma once

#include "ZRBCommand.h"

// User-interface thread only, like every command.
class ZRBRestorePositionCmd : public ZRBCommand {
 public:
  // --- lifecycle
  ZRBRestorePositionCmd() : ZRBCommand("ZRBRestorePositionCmd") {}

  // --- host command: restores, shows the result in the message centre and ends
  CADStatusChangeRC Activate(CADCommand*, CADNotification*) override;

  // --- restoring; 1 every position could be restored, 0 otherwise
  // The whole structure of the editor current at construction.
  int RestorePosition();
  // The children of a product loaded from the PDM, depth first; a standard part's children stay where they are.
  int RestorePositionOnProduct(const CADIProduct_var& product);
  // Moves the child to its "ZRB_ORIG_MATRIX" (nothing to do when it has none).
  int ResetOriginalMatrix(const CADIProduct_var& parent, const CADIProduct_var& child);
};

ZRBRestorePositionCmd* fctCreateZRBRestorePositionCmd();
