// Makes the document object that suits a type (drawings answer as drawings).
#pragma once

#include "CADDocument.h"

class CADDocumentFactory {
 public:
  static CADVar<CADDocument> Create(const CADUnicodeString& type, const CADUnicodeString& storageName);
};
