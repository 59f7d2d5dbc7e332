// Identifier of a document's kind: its type text ("CADPart", "CADProduct",
// "CADDrawing", "CADProcess", "CADAnalysis", "vis", "model" or a
// representation format), which is also the extension of its file.
#pragma once

#include "CADBaseTypes.h"
#include "CADUnicodeString.h"

class CADDocId {
 public:
  CADDocId() = default;
  explicit CADDocId(CADUnicodeString type) : type_(std::move(type)) {}

  // E_FAIL for an identifier that names no type.
  HRESULT GetType(CADUnicodeString& type) const {
    if (type_.IsEmpty()) return E_FAIL;
    type = type_;
    return S_OK;
  }

 private:
  CADUnicodeString type_;
};
