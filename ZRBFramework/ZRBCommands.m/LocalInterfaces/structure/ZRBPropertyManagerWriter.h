// Lays out the property manager's file and its DTD as text: one element per
// line with fixed indentation, every text value escaped.
#pragma once

#include <string>
#include <string_view>

#include "CADUnicodeString.h"

class ZRBPropertyContainer;
class ZRBPropertyManagerStore;

class ZRBPropertyManagerWriter {
 public:
  // The DTD, one declaration per line.
  static std::string BuildDTD();
  // The whole data file. `dtdFileName` is the DTD's name without directory.
  static std::string BuildDocument(const ZRBPropertyContainer* global, const ZRBPropertyManagerStore& store,
                                   std::string_view dtdFileName, unsigned long processId);
  // Element text: markup characters as entities, CR, LF and TAB as character
  // references; other control characters and bytes that are not UTF-8 would
  // make the reader stop and lose every later record, so they are dropped
  // (control characters) or replaced by U+FFFD (bad bytes), with a trace.
  static CADUnicodeString EscapeString(std::string_view text);
};
