// Marks instances as several quantities of one usage: every new sibling (an instance the PDM does not hold yet)
// with the part number of a chosen instance takes the chosen instance's "ZRB_MATRIX_INDEX", so the next update
// sends them as further quantities of that usage instead of new usages. The PDM is not called.
#pragma once

#include "CADIProduct.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

// User-interface thread only. Results: S_OK or E_FAIL.
class ZRBMultiQuantityCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBMultiQuantityCmd() : ZRBOneStepCommand("ZRBMultiQuantityCmd") {}

  // --- the steps
  // The valid selected nodes; *invalid counts those left out. E_FAIL (message shown) when nothing is selected.
  HRESULT GetAndFilterSelectedTreeNodes(CADListValCADBaseUnknown_var& nodes, int* invalid);
  // *valid 1 for an instance the PDM holds under a real father that is a part, a product or a model.
  static HRESULT TreeNodeIsValid(const CADIProduct_var& product, int* valid);
  // Gives the new siblings of `product` with its part number its matrix index (which becomes "1" when it has
  // none yet) and lists each in the informations; `marked` counts them.
  HRESULT SetNewSiblingsToMultiQuantity(const CADIProduct_var& product, int& marked);
  void AddProductToOutputList(const CADIProduct_var& sibling, const CADIProduct_var& chosen,
                              const CADUnicodeString& index);

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;
};

ZRBMultiQuantityCmd* fctCreateZRBMultiQuantityCmd();
