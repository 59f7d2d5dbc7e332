// Printing helpers of the trace channel: string lists and product nodes,
// written only while tracing is on.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBTraceUtil {
 public:
  // --- string lists: the title on a line, then "1.[first]", "2.[second]" ...
  static void PrintStringList(const CADUnicodeString& title, const CADListValCADString& list);
  // Traced as "ZRBTraceUtil::PrintStringList2".
  static void PrintStringList(const CADUnicodeString& title, const CADListValCADUnicodeString& list);
};
