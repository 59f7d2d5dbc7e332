// Opens the documents a read delivers: a cached copy known to be stale is first fetched again from the PDM, and
// top-level documents are shown in windows of their own.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class CADDocument;
class ZRBCommandContext;
class ZRBObject;

// Stateless; user-interface thread only. Results: 1 opened, 0 failed (the failure is in the context's warnings).
class ZRBDocumentOpener {
 public:
  // Opens `path` (read-only when `readOnly` is non-zero). A path listed in `refresh` is first fetched again from
  // the PDM for `object` (its "OBID" and "DB_NAME"), and taken off the list.
  static int OpenDocument(ZRBCommandContext& context, CADDocument*& document, const CADUnicodeString& path,
                          unsigned char readOnly, CADListValCADUnicodeString& refresh, ZRBObject* object);
  // Top-level documents in a window of their own: the window already showing the file is reused. A non-empty
  // `partNumber` becomes the root's part number (products, legacy models and vis; drawings pass none).
  static int OpenWithWindow(ZRBCommandContext& context, CADDocument*& document, const CADUnicodeString& path,
                            const CADUnicodeString& partNumber, int readOnly, CADListValCADUnicodeString& refresh,
                            ZRBObject* object);
};
