// The host's SAX parser over expat: non-validating, never loads anything but
// the document itself, hands each run of text over whole.
#pragma once

#include "CADIXMLSAXParser.h"

class CADXMLSAXExpatParser final : public CADIXMLSAXParser {
 public:
  CADXMLSAXExpatParser() = default;

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXParser, CADBaseUnknown>(this, iid, out);
  }

  // handlers
  HRESULT SetDocumentHandler(const CADIXMLSAXDocumentHandler_var& handler) override;
  HRESULT SetErrorHandler(const CADIXMLSAXErrorHandler_var& handler) override;

  // parsing
  HRESULT Parse(const CADUnicodeString& path) override;
  HRESULT ParseText(std::string_view text, std::size_t pieceSize = 0) override;

 private:
  ~CADXMLSAXExpatParser() override = default;

  CADIXMLSAXDocumentHandler_var documentHandler_;
  CADIXMLSAXErrorHandler_var errorHandler_;
};
