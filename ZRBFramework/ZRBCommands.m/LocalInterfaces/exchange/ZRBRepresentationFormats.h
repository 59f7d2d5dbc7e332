// The representation formats of the site: "ZRB_REP_FORMATS" read in the list
// syntax of exchange objects ("{cgr}{stp}"); a plain word counts as one format.
#pragma once

#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

class ZRBRepresentationFormats {
 public:
  // Read afresh (the variable may change during the session).
  static CADListValCADString Read();
  // 1 when the type is one of them.
  static int Contains(const CADUnicodeString& type);
};
