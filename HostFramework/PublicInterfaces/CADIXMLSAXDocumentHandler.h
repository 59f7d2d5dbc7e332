// Receives the content of an XML document from the SAX parser. Every
// callback defaults to "accept and ignore"; a failing result stops the parse.
#pragma once

#include "CADBaseUnknown.h"
#include "CADIXMLSAXAttributeList.h"
#include "CADUnicodeString.h"

class CADIXMLSAXDocumentHandler : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIXMLSAXDocumentHandler)

 public:
  // document frame
  virtual HRESULT StartDocument() { return S_OK; }
  virtual HRESULT EndDocument() { return S_OK; }

  // elements: the attribute list is valid only during the call
  virtual HRESULT StartElement(const CADUnicodeString& /*name*/, const CADIXMLSAXAttributeList& /*attributes*/) {
    return S_OK;
  }
  virtual HRESULT EndElement(const CADUnicodeString& /*name*/) { return S_OK; }

  // text: one call per run of text, never split, UTF-8, entities replaced.
  // The text of an element without child elements always arrives through
  // Characters, whitespace or not; runs made only of whitespace between
  // elements arrive through IgnorableWhitespace.
  virtual HRESULT Characters(const CADUnicodeString& /*text*/) { return S_OK; }
  virtual HRESULT IgnorableWhitespace(const CADUnicodeString& /*text*/) { return S_OK; }

  virtual HRESULT ProcessingInstruction(const CADUnicodeString& /*target*/, const CADUnicodeString& /*data*/) {
    return S_OK;
  }
};

using CADIXMLSAXDocumentHandler_var = CADVar<CADIXMLSAXDocumentHandler>;
