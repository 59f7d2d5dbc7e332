// Creates a PDM item for a part or drawing the PDM does not know yet, through the PDM's own dialog (two steps:
// "x3CreateCadPrtDocFrFile" / "x3CreateCadDrwDocFrFile" open it, "PDM_CREATEFORDOC_READY" ends it); the document
// takes the identity and the name chosen there.
#pragma once

#include "ZRBDocumentDialogCmd.h"

class ZRBCreateForDocCmd : public ZRBDocumentDialogCmd {
 public:
  // --- lifecycle
  ZRBCreateForDocCmd();

 protected:
  // Archive members and documents the PDM already knows are refused ("NoPartObject").
  int CheckDocument(CADDocument& document, bool drawing) override;
};

ZRBCreateForDocCmd* fctCreateZRBCreateForDocCmd();
