// Turns a document of the session into the image its file is written from.
// Links are written as file names when the linked file lies beside the
// document's (new) file, else as full paths.
#pragma once

#include "CADDocument.h"
#include "CADDocumentImage.h"

class CADDocumentImageBuilder {
 public:
  static CADDocumentImage Build(const CADDocument& document, const CADUnicodeString& storagePath);
  // How a file at `target` is written as a link from a file at `from`.
  static CADUnicodeString LinkText(const CADUnicodeString& target, const CADUnicodeString& from);
};
