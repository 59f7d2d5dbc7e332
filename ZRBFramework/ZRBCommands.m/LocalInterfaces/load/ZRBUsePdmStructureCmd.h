// Replaces the product selected in the session by the structure the PDM keeps for it: the PDM prepares the
// structure in a dialog of its own (two steps, "x3UsePdmStructure"), then a read command builds the answer
// "upsfile.zrb" below the selected product.
#pragma once

#include <memory>

#include "CADIProduct.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBTwoStepCommand.h"

class ZRBStaleFileGuard;

// Files in the exchange map X: X/"xmapfiles.zrb" (cached files, for the PDM) and X/"upsfile.zrb" (request,
// then the PDM's answers of both steps). The stale files moved aside in the first step are put back when the
// end step finishes or, at the latest, when the command goes, whichever way it ends.
// User-interface thread only (see ZRBTwoStepCommand for the waiting protocol).
class ZRBUsePdmStructureCmd : public ZRBTwoStepCommand {
 public:
  static constexpr const char* kRequestFileName = "upsfile.zrb";

  // --- lifecycle
  ZRBUsePdmStructureCmd();
  ~ZRBUsePdmStructureCmd() override;

  // --- the steps
  // The selection check, the request and the PDM's first step: 1 waiting for the PDM, 0 failed (message shown).
  int StartUsePdmStructure();
  // The PDM's final status: the cancel information, the failure message, or the load below the selection.
  // 1 loaded (or cancelled), 0 failed. A second call does nothing and returns 0.
  int EndUsePdmStructureCmd(const CADString& status);
  // The precondition on the session, asked at the start and again at the end (the user may have changed the
  // selection while the PDM's dialog was up). 1 acceptable (product stays null for a non-product document),
  // 0 refused after its message.
  int CheckForSelectedProducts(CADIProduct_var& product, CADUnicodeString& type);

  int GetCacheActivation() const { return cacheActivation_; }

 protected:
  void ReadStartSettings() override;
  int StartStep() override { return StartUsePdmStructure(); }
  void EndStep(const CADString& status) override { EndUsePdmStructureCmd(status); }

 private:
  // 0 when the old answer cannot be removed or the request cannot be written (message shown).
  int WriteRequest(const CADUnicodeString& xmap, const CADUnicodeString& requestPath);
  // The request and the PDM's first step; 1 when the PDM's dialog is up.
  int HandOver(const CADUnicodeString& xmap);
  // The read below `parent`; 1 built.
  int LoadStructure(const CADIProduct_var& parent, int remarks);
  void RestoreStaleFiles();

  int cacheActivation_ = -1;
  int endStepDone_ = 0;
  std::unique_ptr<ZRBStaleFileGuard> staleFiles_;
};

ZRBUsePdmStructureCmd* fctCreateZRBUsePdmStructureCmd();
