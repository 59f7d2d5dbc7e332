// The host's resource catalogs: texts that configure dialogs (column widths, icon names ...), one file
// "<Catalog>.rsc" per catalog, in the same directories and format as the message catalogs.
#pragma once

#include "CADString.h"
#include "CADUnicodeString.h"

class CADRscCatalog {
 public:
  // 1 and the text of `key` (parameters substituted) in `text`; 0 when the catalog or key is missing, `text`
  // left unchanged.
  static int BuildResource(const CADString& catalog, const CADString& key, CADUnicodeString& text,
                           const CADString* parameters = nullptr, int count = 0);
};
