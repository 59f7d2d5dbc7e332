// Attaches the selected product or part to the PDM as a new archive: checks it in the session and in the PDM,
// stores its members in the exchange map, writes its structure file, packs it, asks the PDM to create the
// archive ("rfile.zrb"), keeps the answered identity on the product, then brings the father's structure (or the
// PDM workbench) up to date. A run that fails takes back the content marks it set.
#pragma once

#include <string_view>

#include "CADIProduct.h"
#include "ZRBOneStepCommand.h"

class ZRBObject;
class ZRBObjectManager;
class ZRBUpdateCmd;

class ZRBAttachArchiveCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBAttachArchiveCmd() : ZRBOneStepCommand("ZRBAttachArchiveCmd") {}

  // --- the steps (1 done, 0 failed; the reason is shown or in the warnings)
  // The one selected product of the current editor that may become an archive root.
  int GetSelectedProduct(CADIProduct_var& selected);
  // Writes "rfile.zrb", runs the PDM and reads its answer; 1 when the PDM created the archive, whose answered
  // object is then `archive` (owned by `answer`).
  int CreateArchiveObject(const CADIProduct_var& root, const CADUnicodeString& archiveFile,
                          const CADUnicodeString& structureFile, ZRBObjectManager& answer, ZRBObject*& archive);
  // The father's structure saved by an update command (mode 1); its outcome joins `lines`.
  int UpdateActualWindow(CADListValCADUnicodeString& lines);
  // The root as a top-level item of the PDM workbench ("UpdWbfile.zrb").
  int UpdateWorkbench(const CADIProduct_var& root);

 protected:
  // For the SAM client's variant.
  explicit ZRBAttachArchiveCmd(const char* name) : ZRBOneStepCommand(name) {}
  // The PDM action that creates the archive.
  virtual std::string_view ActionWord() const;
  // The update that follows an attach; the SAM variant supplies its own client's.
  virtual ZRBUpdateCmd* CreateUpdateCmd();

  Outcome Work() override;
  void ShowOutcome(int success) override;

 private:
  Outcome Refuse(const char* key, const char* trace);
};

ZRBAttachArchiveCmd* fctCreateZRBAttachArchiveCmd();
