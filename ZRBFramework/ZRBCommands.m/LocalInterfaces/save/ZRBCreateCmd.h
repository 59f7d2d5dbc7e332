// Creates a new PDM item for the active part or drawing in one round trip on "rfile.zrb" ("x3CreateCADPartFrFile"
// with the part type, "x3CreateCADDrawFrFile"), writes the answered identity onto the document, then sends the
// document once more through the update so that its content reaches the new item.
#pragma once

#include <string_view>

#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class CADDocument;
class ZRBCreateRequest;
class ZRBUpdateCmd;

// User-interface thread only.
class ZRBCreateCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBCreateCmd() : ZRBOneStepCommand("ZRBCreateCmd") {}

  // --- the create (1 done, 0 failed or stopped; the reason is in the warnings)
  int CreateCADObject(int* status);
  int CreateCADPart(CADDocument& document, int* status);
  int CreateCADDrawing(CADDocument& document, int* status);
  // Sends the created document through an update without interaction; its messages join this command's.
  int UpdateCreatedPart(CADDocument& document);
  // The update the created document is sent through: mode 1, no status change; the caller ends it.
  virtual ZRBUpdateCmd* CreateUpdateCmd();

 protected:
  // For the SAM client's variant.
  explicit ZRBCreateCmd(const char* name) : ZRBOneStepCommand(name) {}

  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  // Runs the action, reads and applies the answer; 1 when the PDM created the item.
  int Send(ZRBCreateRequest& request, CADDocument& document, std::string_view word, const CADUnicodeString& argument,
           const char* failureTrace);
};

ZRBCreateCmd* fctCreateZRBCreateCmd();
