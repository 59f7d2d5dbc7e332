// Entry point of the host's SAX XML service: hands out a factory for the
// named parser implementation, which creates parsers.
#pragma once

#include "CADBaseUnknown.h"
#include "CADIXMLSAXParser.h"
#include "CADUnicodeString.h"

class CADIXMLSAXFactory : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIXMLSAXFactory)

 public:
  // A new parser with no handlers.
  virtual HRESULT CreateParser(CADIXMLSAXParser_var& parser) = 0;
};

using CADIXMLSAXFactory_var = CADVar<CADIXMLSAXFactory>;

// The parser implementation every caller asks for.
inline constexpr const char* CADXMLSAXDefaultImplementation = "XML4C SAX";

// Fills `factory` for the implementation called `implementation`; E_FAIL
// (and a null factory) for an unknown name.
HRESULT CreateCADIXMLSAXFactory(CADIXMLSAXFactory_var& factory,
                                const CADUnicodeString& implementation = CADXMLSAXDefaultImplementation);
