// Attaches a black box to a PDM product: the selected product's children that the PDM does not hold as instances
// (and everything below them) go to the PDM as one opaque unit ("x3AttachBlackBoxCmd" on "AttachBlackBox.zrb"),
// and the answered identities are written onto those nodes so later commands treat them as one unit.
#pragma once

#include <vector>

#include "CADIProduct.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"
#include "ZRBBlackBoxUtil.h"
#include "ZRBOneStepCommand.h"

class ZRBObject;
class ZRBObjectManager;

// User-interface thread only. Results: S_OK or E_FAIL.
class ZRBAttachBlackBoxCmd : public ZRBOneStepCommand {
 public:
  static constexpr const char* kRequestFile = "AttachBlackBox.zrb";

  // --- lifecycle
  ZRBAttachBlackBoxCmd() : ZRBOneStepCommand("ZRBAttachBlackBoxCmd") {}

  // --- the steps
  // The one valid selected node; a refusal shows its message and fails with *messageShown set.
  HRESULT GetAndFilterSelectedTreeNodes(CADIProduct_var& father, int* messageShown);
  // *valid 1 for a node loaded from the PDM that is neither a black-box node nor archive content.
  static HRESULT TreeNodeIsValid(const CADIProduct_var& product, int* valid);
  // *dirty 1 when a document of the black box below product is modified in the session.
  static HRESULT BlackBoxDocsAreDirty(const CADIProduct_var& product, int* dirty);
  // The black box's documents kept for visualisation only (their geometry is not loaded).
  static std::vector<CADIProduct_var> BlackBoxFilesInVisuMode(const CADIProduct_var& product);
  // "ROOT", "COMMAND" and the black-box object; the documents to add are copied into the exchange map.
  static HRESULT CreateObjectManagerStructure(const CADIProduct_var& product, const CADUnicodeString& xmap,
                                              ZRBObjectManager* request, ZRBObject** box);
  // Writes the request, runs the PDM and reads its answer into `answer`.
  HRESULT SendAttachRequestToPdm(const CADUnicodeString& xmap, ZRBObjectManager& request, ZRBObjectManager& answer);
  // 1 when the answer's "ROOT" says "SUCCESS"; its "STATS" lines join the messages.
  int DisplayResult(ZRBObjectManager& answer);

 protected:
  Outcome Work() override;
  void ShowOutcome(int success) override;
};

ZRBAttachBlackBoxCmd* fctCreateZRBAttachBlackBoxCmd();
