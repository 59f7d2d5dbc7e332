// Asks the PDM which parts of a structure are standard parts ("x3GetInfoForParts" on "stdfile.zrb") and marks
// them ("ZRB_IS_STD_PART"). A standard part never gets a row of its own; one the session does not know yet takes
// the PDM's identity of it, so its father's row links the existing item instead of creating a copy.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

// User-interface thread only.
class ZRBSyncStdParts {
 public:
  // 1 when the PDM answered (or there was no part to ask about), 0 when it did not; the answer's "STATS" go to
  // `messages`. A failed round trip changes no property.
  static int Mark(const CADIProduct_var& root, CADListValCADUnicodeString& messages);
};
