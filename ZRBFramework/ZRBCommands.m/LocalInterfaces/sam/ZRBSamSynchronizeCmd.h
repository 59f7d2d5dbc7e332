// A command of the SAM client: it switches the process to the SAM client's mode ("SAM_", "samcl", "SAM") when
// it is constructed, sends its final update through the SAM client's update, and prepares the structure as the
// SAM client expects before the list is filled (an empty selection, the configurable behaviour attributes).
#pragma once

#include "ZRBSynchronizeCmd.h"

class ZRBSamSynchronizeCmd : public ZRBSynchronizeCmd {
 public:
  // --- lifecycle
  ZRBSamSynchronizeCmd() : ZRBSynchronizeCmd("ZRBSamSynchronizeCmd") { UseClientMode(ZRBClientMode::Sam()); }

  // --- filling (1 the list was filled, 0 the command stops)
  int UpdateProductDocumentInteractive(CADDocument* document) override;

 protected:
  // The SAM client's job list (ZRBSamUpdateCreateDialog).
  ZRBUpdateCreateDialog* NewDialog(std::function<void()> closed) override;
};

ZRBSamSynchronizeCmd* fctCreateZRBSamSynchronizeCmd();
