// The external links of a document (to other documents), one component each.
#pragma once

#include "CADBaseUnknown.h"
#include "CADListValCADBaseUnknown.h"

class CADIExternalLinks : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIExternalLinks)

 public:
  // Appends a handle per link; each answers CADIExternalLink.
  virtual HRESULT GetLinks(CADListValCADBaseUnknown_var& links) = 0;
};

using CADIExternalLinks_var = CADVar<CADIExternalLinks>;
