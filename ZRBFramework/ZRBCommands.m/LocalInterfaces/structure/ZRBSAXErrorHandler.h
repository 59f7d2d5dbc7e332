// Traces what the XML parser reports about a property-manager file and
// remembers whether the parse ended in a fatal error.
#pragma once

#include "CADIXMLSAXErrorHandler.h"

class ZRBSAXErrorHandler : public CADIXMLSAXErrorHandler {
 public:
  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXErrorHandler, CADBaseUnknown>(this, iid, out);
  }

  // --- parser callbacks (trace only)
  HRESULT Warning(const CADXMLSAXParseError& error) override;
  HRESULT Error(const CADXMLSAXParseError& error) override;
  HRESULT FatalError(const CADXMLSAXParseError& error) override;

  bool HadFatalError() const { return fatal_; }

 private:
  bool fatal_ = false;
};
