// Saves a light visualisation of a part or product document as a "vis" document: the bodies of every part
// below, placed where they sit, under a root with its own part number.
#pragma once

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

class CADDocument;

class CADVisExport {
 public:
  // Writes the vis to `path`; the document itself is unchanged (storage name, modified state). Fails, with
  // CADDocumentServices::GetLastError, for another type, an empty part number, a path open in the session or
  // a file that cannot be written.
  static HRESULT Save(CADDocument* document, const CADUnicodeString& path, const CADUnicodeString& partNumber);
};
