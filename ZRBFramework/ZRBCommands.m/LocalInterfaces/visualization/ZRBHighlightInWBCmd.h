// Asks the PDM to show in its workbench what is selected in the current window: each selected part and product
// is named by its OBID and its relation path up to the top (the words the PDM's highlight files use), written to
// "HighlightInWB.zrb" in the exchange map and sent with "x3HighlightInWB". No answer is awaited.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADListValCADBaseUnknown.h"
#include "CADString.h"
#include "CADUnicodeString.h"
#include "ZRBOneStepCommand.h"

class ZRBObjectManager;

// User-interface thread only. Results: S_OK or E_FAIL.
class ZRBHighlightInWBCmd : public ZRBOneStepCommand {
 public:
  // --- lifecycle
  ZRBHighlightInWBCmd() : ZRBOneStepCommand("ZRBHighlightInWBCmd") {}

  // --- the steps
  // Sorts the current selection into parts and products, or takes the process document it lies in. A refusal
  // shows its own message and fails with *messageShown set.
  HRESULT GetSelectedTreeNodes(CADListValCADBaseUnknown_var& parts, CADListValCADBaseUnknown_var& products,
                               CADUnicodeString& processDocumentPath, int* messageShown);
  static HRESULT CreateObjectManagerStructure(const CADListValCADBaseUnknown_var& parts,
                                              const CADListValCADBaseUnknown_var& products,
                                              const CADUnicodeString& processDocumentPath, ZRBObjectManager* objects);
  static HRESULT RetrieveNeededPartAttributes(const CADIProduct_var& product, CADString* edescId, CADString* docrelId,
                                              CADListValCADString* relationPath);
  // The relation path from the node up (the node's own relation first).
  static HRESULT RetrieveNeededProductAttributes(const CADIProduct_var& product, CADString* edescId,
                                                 CADListValCADString* relationPath);
  HRESULT SendShowRequestToPdm(const CADUnicodeString& directory, ZRBObjectManager& objects);

 protected:
  // For the SAM client's variant.
  explicit ZRBHighlightInWBCmd(const char* name) : ZRBOneStepCommand(name) {}
  Outcome Work() override;
};

ZRBHighlightInWBCmd* fctCreateZRBHighlightInWBCmd();
