// Saves a part as a new legacy model item of the PDM, through the PDM's save-as dialog (two steps:
// "x3SaveAsCADPartLegacyFrFl" opens it with the model written beside the part in the exchange map,
// "PDM_SAVEAS_READY" ends it). The part itself keeps its identity; the model file takes the new one.
#pragma once

#include "CADUnicodeString.h"
#include "ZRBDocumentDialogCmd.h"

class ZRBSaveAsLegacyCmd : public ZRBDocumentDialogCmd {
 public:
  // --- lifecycle
  ZRBSaveAsLegacyCmd();

 protected:
  // A part only ("NoPartObject"); with "ZRB_SAVEAS_LEGACY_WITH_DIRTYCHECK" on, an unsaved part is refused
  // ("CadFileDirty"), with "ZRB_SAVEAS_LEGACY_WITH_ZRBCHECK" on, one the PDM does not know ("CadFileNotFromZRB").
  int CheckDocument(CADDocument& document, bool drawing) override;
  // "ROOT" ("CADCLASSNAME" "model", "CADORIGOBID"), "COMMAND" and the model object in "SUBASSEMBLIES" and
  // "DOCCOMS"; the model is the part's file under the ".model" extension.
  int BuildRequest(ZRBCreateRequest& request, CADDocument& document, bool drawing) override;
  // The model file takes the new item's identity in the exchange map's content file.
  int ApplyAnswer(ZRBObjectManager& answer, ZRBObject* created, CADDocument* document) override;
  // A plain success is a message box; anything with messages the message centre.
  void ShowEnd(int success) override;

 private:
  CADUnicodeString modelPath_;
};

ZRBSaveAsLegacyCmd* fctCreateZRBSaveAsLegacyCmd();
