// Printing helpers of the trace channel: string lists and product nodes,
// written only while tracing is on.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADListValCADBaseUnknown.h"
#include "CADUnicodeString.h"

class ZRBTraceUtil {
 public:
  // --- string lists: the title on a line, then "1.[first]", "2.[second]" ...
  static void PrintStringList(const CADUnicodeString& title, const CADListValCADString& list);
  // Traced as "ZRBTraceUtil::PrintStringList2".
  static void PrintStringList(const CADUnicodeString& title, const CADListValCADUnicodeString& list);

  // --- product nodes
  // The title on a line, then per node "1." followed by PrintNode("Node", node).
  static void PrintNodeList(const CADUnicodeString& title, CADListValCADBaseUnknown_var& nodes);
  // title:"<part number>(<instance name>)" on one line; "null" for both of a
  // null product, "-failed-" for an instance name that cannot be read.
  static void PrintNode(const CADUnicodeString& title, const CADIProduct_var& product);
};
