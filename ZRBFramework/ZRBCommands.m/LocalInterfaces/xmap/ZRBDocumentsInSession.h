// The paths of the documents loaded in the session, taken once, so that a
// walk over a directory can ask for each file whether it is in use, also when
// the document was opened under another spelling of the same path.
#pragma once

#include <set>
#include <string>

#include "CADUnicodeString.h"

class ZRBDocumentsInSession {
 public:
  // Takes the storage names (and their real paths) of every loaded document.
  ZRBDocumentsInSession();
  // 1 when a loaded document is stored at the path.
  int Contains(const CADUnicodeString& path) const;

 private:
  std::set<std::string> paths_;
};
