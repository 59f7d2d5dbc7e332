// Reads the host's document file text into a CADDocumentImage, refusing
// anything malformed with a message that names the line. The text comes from
// outside (the PDM delivers these files), so nothing in it is trusted.
#pragma once

#include <string_view>

#include "CADBaseTypes.h"
#include "CADDocumentImage.h"

class CADDocumentReader {
 public:
  // Parses `text` as a document of `expectedType` (the type its extension
  // gives). Representation formats, and vis/model files that do not start
  // with the host's header, become opaque images holding the bytes. E_FAIL
  // with `error` set for a damaged file; `image` is then unspecified.
  static HRESULT Read(std::string_view text, const CADUnicodeString& expectedType, bool representationFormat,
                      CADDocumentImage& image, CADUnicodeString& error);
  // The identifier stored in the head of a host document file, without
  // reading the rest. E_FAIL (null identifier) when the text is no host
  // document or carries none.
  static HRESULT ReadIdentifier(std::string_view text, CADUuid& identifier);
};
