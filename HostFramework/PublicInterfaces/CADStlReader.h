// Imports a triangle mesh from an STL file, binary or ASCII, as one geometry
// body; identical vertices are shared.
#pragma once

#include <string_view>

#include "CADBaseTypes.h"
#include "CADGeometryBody.h"
#include "CADUnicodeString.h"

class CADStlReader {
 public:
  // From the bytes of a file. On E_FAIL `error` says what is wrong (and where) and `body` is untouched.
  // The body is named after the ASCII solid's name (empty for a binary file).
  static HRESULT Parse(std::string_view bytes, CADGeometryBody& body, CADUnicodeString& error);
  static HRESULT ReadFile(const CADUnicodeString& path, CADGeometryBody& body, CADUnicodeString& error);
};
