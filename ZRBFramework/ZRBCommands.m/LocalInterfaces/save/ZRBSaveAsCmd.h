// Saves a part or drawing the PDM knows as a new PDM item, through the PDM's own dialog (two steps:
// "x3SaveAsCADPartFrFile" / "x3SaveAsCADDrawFrFile" open it, "PDM_SAVEAS_READY" ends it); the document continues
// under the new identity and the name chosen there, the old file stays in the exchange map.
#pragma once

#include "ZRBDocumentDialogCmd.h"

class ZRBSaveAsCmd : public ZRBDocumentDialogCmd {
 public:
  // --- lifecycle
  ZRBSaveAsCmd();

 protected:
  // For the SAM client's variant.
  explicit ZRBSaveAsCmd(const char* name);
  // Only a document the PDM knows has something to save as ("NoPartObject").
  int CheckDocument(CADDocument& document, bool drawing) override;
  // The part type of the copy ("USE_BOM_FOR_SAVE_AS").
  int CompleteRequest(ZRBCreateRequest& request, bool drawing) override;
};

ZRBSaveAsCmd* fctCreateZRBSaveAsCmd();
