// The kind of an external link, tested against the host's link type names
// ("CADLinkTypeProduct", "CADLinkTypeDesignTable" ...); a kind may match
// several names when one specialises another.
#pragma once

#include <string_view>

#include "CADBaseUnknown.h"

class CADIExternalLinkType : public virtual CADBaseUnknown {
  CAD_DECLARE_INTERFACE(CADIExternalLinkType)

 public:
  // 1 when the link is of the named type or a specialisation of it.
  virtual int IsAKindOf(std::string_view linkTypeName) const = 0;
};

using CADIExternalLinkType_var = CADVar<CADIExternalLinkType>;
