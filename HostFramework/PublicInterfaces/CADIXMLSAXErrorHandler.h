// Receives the problems the SAX parser finds: warnings (an entity it could
// not expand), errors, and the fatal error that ends a parse.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

// Where and what: line and column are 1-based, 0 when unknown.
struct CADXMLSAXParseError {
  CADUnicodeString message;
  CADUnicodeString systemId;  // the file parsed, "" for text held in memory
  int line = 0;
  int column = 0;
};

class CADIXMLSAXErrorHandler : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIXMLSAXErrorHandler)

 public:
  virtual HRESULT Warning(const CADXMLSAXParseError& /*error*/) { return S_OK; }
  virtual HRESULT Error(const CADXMLSAXParseError& /*error*/) { return S_OK; }
  virtual HRESULT FatalError(const CADXMLSAXParseError& /*error*/) { return S_OK; }
};

using CADIXMLSAXErrorHandler_var = CADVar<CADIXMLSAXErrorHandler>;
