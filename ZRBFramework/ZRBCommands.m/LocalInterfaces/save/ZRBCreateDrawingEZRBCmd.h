// Adds the drawing of the active window to the PDM structure file of the extended structure-file mode
// ("eZRBstructure"), as the update does there: no PDM call, the drawing is saved into the exchange map under the
// name the designer gives and merged into the file as a drawing to be created, with a placeholder identity.
#pragma once

#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class CADDocument;
class ZRBTextBoxDialog;

// User-interface thread only. The command lives from Activate until the name dialog is answered.
class ZRBCreateDrawingEZRBCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateDrawingEZRBCmd() : ZRBOneStepCommand("ZRBCreateDrawingEZRBCmd") {}
  ~ZRBCreateDrawingEZRBCmd() override;

  // --- the name dialog
  void OnZRBTextBoxDialogDiaOKNotification();
  void OnZRBTextBoxDialogDiaCANCELNotification();
  void OnZRBTextBoxDialogWindCloseNotification();

  // Saves the drawing as `name` into the exchange map, writes "ifile.zrb" and merges it into the structure file;
  // on success the drawing carries the identity the file gave it. 1 done (messages in the warnings otherwise).
  int CreateStructureFileDrawing(CADDocument* document, const CADUnicodeString& name);

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  void CloseDialog();
  void Refuse(const char* catalog, const char* key, const CADUnicodeString& parameter = CADUnicodeString());

  ZRBTextBoxDialog* dialog_ = nullptr;  // owned by the host's dialog tree; closed by CloseDialog
  CADUnicodeString drawingPath_;        // the drawing's storage name when the dialog opened
};

ZRBCreateDrawingEZRBCmd* fctCreateZRBCreateDrawingEZRBCmd();
