// Shared facts of the host's document file format: the header, the families
// of document types and the rules for parameter values.
#pragma once

#include <string_view>

#include "CADUnicodeString.h"

class CADDocumentFormat {
 public:
  static constexpr std::string_view kMagic = "CADHOST-DOCUMENT";
  static constexpr std::string_view kVersion = "1";

  enum class Kind {
    kUnknown,
    kReference,  // CADPart, CADProduct, vis, model: a root product
    kDrawing,    // CADDrawing
    kLinks,      // CADProcess, CADAnalysis
  };
  static Kind KindOf(const CADUnicodeString& type);
  // A parameter type the host knows, with a value that suits it.
  static bool IsValidParameter(const CADUnicodeString& type, const CADUnicodeString& value);
};
