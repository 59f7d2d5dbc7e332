// The attributes of one element as the SAX parser hands them to a document
// handler; valid only for the duration of the StartElement call.
#pragma once

#include <string_view>

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIXMLSAXAttributeList : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIXMLSAXAttributeList)

 public:
  // Number of attributes, in document order.
  virtual int GetLength() const = 0;
  // Name and value of the attribute at the 0-based `index`; E_INVALIDARG out of range.
  virtual HRESULT GetName(int index, CADUnicodeString& name) const = 0;
  virtual HRESULT GetValue(int index, CADUnicodeString& value) const = 0;
  // Value of the attribute called `name`; E_FAIL (and "") when the element has none.
  virtual HRESULT GetValue(std::string_view name, CADUnicodeString& value) const = 0;
};

using CADIXMLSAXAttributeList_var = CADVar<CADIXMLSAXAttributeList>;
