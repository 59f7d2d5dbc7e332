// Where a file that the PDM names in an answer lies in the exchange map. PDM-supplied names are only ever used
// inside the exchange map: nothing a hostile or broken answer says leads to a file elsewhere.
#pragma once

#include <string_view>

#include "CADString.h"
#include "CADUnicodeString.h"

// Stateless; any thread (it reads "ZRBXMAP" through the configuration service).
class ZRBAnswerLocation {
 public:
  // The exchange map joined with the file-name part of `location` (the PDM writes the exchange-map path it
  // delivered to; only the last component is used and checked). 0 when that component is empty, "." or "..",
  // holds a control character or a backslash-separated "..", or when "ZRBXMAP" is unset (no temporary
  // directory stands in).
  static int Resolve(const CADString& location, CADUnicodeString& fullPath);
  // 1 when the last component of `location` is acceptable as above.
  static int IsAcceptable(std::string_view location);
};
