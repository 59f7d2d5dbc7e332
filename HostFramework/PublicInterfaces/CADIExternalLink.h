// One link from a document to another document: its kind, as a type name or
// a link-type object, and (host internal) the file it resolves to.
#pragma once

#include "CADBaseUnknown.h"
#include "CADUnicodeString.h"

class CADIExternalLink : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIExternalLink)

 public:
  // The link's own type name; "" for links that only carry a link-type object.
  virtual HRESULT GetLinkTypeName(CADUnicodeString& typeName) const = 0;
  // The implementation class of the link ("CADDrwTextExternalLink" for a text of a drawing).
  virtual CADUnicodeString GetLinkClassName() const = 0;
  // The link-type object (answers CADIExternalLinkType); E_FAIL when there is none.
  virtual HRESULT GetLinkType(CADBaseUnknown_var& linkType) const = 0;
  // Host internal: the full path of the file the link resolves to, "" when
  // unresolved. Not for the module, which asks the extension library.
  virtual CADUnicodeString GetResolvedPath() const = 0;
};

using CADIExternalLink_var = CADVar<CADIExternalLink>;
