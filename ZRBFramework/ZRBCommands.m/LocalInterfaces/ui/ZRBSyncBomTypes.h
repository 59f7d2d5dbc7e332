// The part (BOM) types of the new parts of a job list as the PDM decides them ("x3GetBomTypes" on
// "bomtypes.zrb"): each editable row of a new "CADPart" or "model" is asked for, and the answer's "BOM_TYPE"
// becomes the row's part type and the part's reference properties, as if the designer had chosen it.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBSyncJobList;

// User-interface thread only.
class ZRBSyncBomTypes {
 public:
  // 1 answered (or no row to ask about); 0 failed, with the reason in `messages` and every row unchanged.
  static int SetBomTypeFromPdm(ZRBSyncJobList& jobs, CADListValCADUnicodeString& messages);
};
