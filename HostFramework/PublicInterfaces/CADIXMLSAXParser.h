// A non-validating SAX parser: streams a document to a document handler and
// its problems to an error handler. It never fetches an external DTD or
// entity, so a DOCTYPE naming a missing file is harmless.
#pragma once

#include <cstddef>
#include <string_view>

#include "CADBaseUnknown.h"
#include "CADIXMLSAXDocumentHandler.h"
#include "CADIXMLSAXErrorHandler.h"
#include "CADUnicodeString.h"

class CADIXMLSAXParser : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIXMLSAXParser)

 public:
  // handlers (either may be null: its events are then dropped)
  virtual HRESULT SetDocumentHandler(const CADIXMLSAXDocumentHandler_var& handler) = 0;
  virtual HRESULT SetErrorHandler(const CADIXMLSAXErrorHandler_var& handler) = 0;

  // Parses the file at `path`. S_OK when the document is well-formed and
  // every callback succeeded; else E_FAIL (a malformed or unreadable
  // document is first reported to the error handler's FatalError). Events
  // delivered before a failure stay delivered.
  virtual HRESULT Parse(const CADUnicodeString& path) = 0;
  // The same for a document held in memory, fed to the parser in pieces of
  // `pieceSize` bytes (0: all at once).
  virtual HRESULT ParseText(std::string_view text, std::size_t pieceSize = 0) = 0;
};

using CADIXMLSAXParser_var = CADVar<CADIXMLSAXParser>;
